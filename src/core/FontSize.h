#pragma once

// The editor keeps font sizes in twips (1/1440 inch); the font dialog starts from a
// height in pixels of the screen and reports its choice in tenths of a point.

// The height the font dialog starts from: the character height (negative), so that the
// dialog shows the text's own point size rather than a smaller one that fits the cell.
int FontDialogHeight(int twips, int dpi);

// The twips of the font chosen in the dialog. A dialog left at the height it started
// from keeps the text's size exactly: a size such as 11 points is no whole number of
// pixels, and going through pixels would change it.
int ChosenFontTwips(int twips, int startHeight, int chosenHeight, int chosenTenths);
