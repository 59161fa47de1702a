#pragma once
// Window outlines through the X11 shape extension (FLTK's own shape() does nothing in this build).
// Both need a shown window.
class Fl_Window;

// Cuts the window to a rounded rectangle over its whole size, corner ellipse cornerPx × cornerPx.
void SetRoundedShape(Fl_Window& window, int cornerPx);

// The window becomes a plain rectangle again.
void RemoveShape(Fl_Window& window);
