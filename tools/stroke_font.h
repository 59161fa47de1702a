#pragma once
// A tiny lowercase stroke font for the logo, drawn as distance fields so letters can be rendered at any
// size with soft edges and glows. Units: the x-height is 1, the baseline is y = 0, y points up; ascenders
// reach 1.5 and descenders -0.5. Only the letters of the logo, "aelnqru", have glyphs; any other character
// is an empty gap.

// Width of the laid-out text (letters and gaps, without the pen thickness), in font units.
float StrokeTextWidth(const char* text);

// Distance from (x, y) to the nearest stroke centre line of the text laid out from x = 0 on the baseline.
float StrokeTextDistance(const char* text, float x, float y);
