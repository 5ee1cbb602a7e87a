#pragma once

// Lengths designed at 96 dpi, and the drawings made for each display scale.

constexpr int kBaseDpi = 96;

// A length designed at 96 dpi, at the given DPI, rounded to the nearest pixel. A DPI
// below 96 or past 960 is taken as the nearest of those.
int ScaleForDpi(int pixels, int dpi);

// Drawings are made at 100 % to 200 % in quarter steps: `base` pixels at step 0,
// base * (4 + step) / 4 at step 1 to 4. The step of the largest drawing no larger than
// `wanted` pixels, so a drawing is never stretched by a fraction.
constexpr int kLastArtStep = 4;
int ArtStep(int wanted, int base);
int ArtSize(int base, int step);
// The resource of a drawing at a step: the 100 % one's id, plus 1000 per step.
int ArtResourceId(int baseId, int step);
