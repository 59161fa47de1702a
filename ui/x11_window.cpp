#include "ui/x11_window.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include <initializer_list>

void SetRoundedShape(Fl_Window& window, int cornerPx) {
  if (!window.shown()) return;
  const int w = window.w(), h = window.h(), c = cornerPx;
  const Window xid = fl_xid(&window);
  const Pixmap mask = XCreatePixmap(fl_display, xid, w, h, 1);
  const GC gc = XCreateGC(fl_display, mask, 0, nullptr);
  XSetForeground(fl_display, gc, 0);
  XFillRectangle(fl_display, mask, gc, 0, 0, w, h);
  XSetForeground(fl_display, gc, 1);
  XFillRectangle(fl_display, mask, gc, c / 2, 0, w - c, h);
  XFillRectangle(fl_display, mask, gc, 0, c / 2, w, h - c);
  for (const int x : {0, w - c})
    for (const int y : {0, h - c}) XFillArc(fl_display, mask, gc, x, y, c, c, 0, 360 * 64);
  XShapeCombineMask(fl_display, xid, ShapeBounding, 0, 0, mask, ShapeSet);
  XFreeGC(fl_display, gc);
  XFreePixmap(fl_display, mask);
}

void RemoveShape(Fl_Window& window) {
  if (window.shown()) XShapeCombineMask(fl_display, fl_xid(&window), ShapeBounding, 0, 0, None, ShapeSet);
}

bool WindowManagerHandlesFullscreen() {
  fl_open_display();
  // A window manager of the freedesktop.org kind announces itself on the root window.
  const Atom check = XInternAtom(fl_display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen), check, 0, 1, False, XA_WINDOW,
                                        &type, &format, &count, &remaining, &data);
  const bool present = status == Success && type == XA_WINDOW && count == 1;
  if (data) XFree(data);
  return present;
}
