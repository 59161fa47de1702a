#pragma once
// What FLTK 1.3 leaves to the program on X11: window outlines through the shape extension (FLTK's own
// shape() does nothing in this build), and whether a window manager can make a window full-screen.
// The shape functions need a shown window.
class Fl_Window;

// Cuts the window to a rounded rectangle over its whole size, corner ellipse cornerPx × cornerPx.
void SetRoundedShape(Fl_Window& window, int cornerPx);

// The window becomes a plain rectangle again.
void RemoveShape(Fl_Window& window);

// True when a window manager that understands the full-screen state runs. Without one, FLTK's
// fullscreen() makes an unmanaged window that carries no title or window class.
bool WindowManagerHandlesFullscreen();
