#pragma once

// Find any note over count hidden notes of about 4 KB: the first search, the same again,
// another, and one that every note matches.
void RunFindNotes(int count);
// The show-or-hide-all hotkey over count notes: showing them all (their texts read), hiding
// them, and showing them again with their texts loaded.
void RunShowHideAll(int count);
// Typing into a note of count check-list items against count plain lines, and a tick.
void RunTyping(int count);
