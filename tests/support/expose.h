#pragma once
// Makes every window on the X display in DISPLAY redraw, as uncovering them would: a window over the
// whole screen comes up for a moment and goes again. The toolkit then redraws (flushes) its windows
// between whatever the program does. Include it last: Xlib's macros (Bool, None, Status) clash with
// other names.
#include <X11/Xlib.h>

inline void ExposeScreen() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return;
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, screen);
  const Window cover = XCreateWindow(display, RootWindow(display, screen), 0, 0, DisplayWidth(display, screen),
                                     DisplayHeight(display, screen), 0, CopyFromParent, InputOutput, CopyFromParent,
                                     CWOverrideRedirect | CWBackPixel, &attributes);
  XSelectInput(display, cover, StructureNotifyMask);
  XMapRaised(display, cover);
  XEvent mapped;
  XWindowEvent(display, cover, StructureNotifyMask, &mapped);  // the server has mapped it: all below are covered
  while (mapped.type != MapNotify) XWindowEvent(display, cover, StructureNotifyMask, &mapped);
  XDestroyWindow(display, cover);
  XCloseDisplay(display);
}
