#include "ui/toolkit_versions.h"

#include <FL/Fl.H>
#include <GL/glx.h>  // last: X11's macros

std::string FltkVersionText() {
  const int version = Fl::api_version();  // 10308 for 1.3.8
  return "FLTK " + std::to_string(version / 10000) + "." + std::to_string(version / 100 % 100) + "." +
         std::to_string(version % 100);
}

std::string DisplayGlText() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return {};
  std::string text;
  int attributes[] = {GLX_RGBA, None};
  if (XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes)) {
    const Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes windowAttributes{};
    windowAttributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    // A window that is never mapped: a context needs a drawable to become current.
    const Window window = XCreateWindow(display, root, 0, 0, 1, 1, 0, visual->depth, InputOutput, visual->visual,
                                        CWColormap, &windowAttributes);
    if (GLXContext context = glXCreateContext(display, visual, nullptr, True)) {
      if (glXMakeCurrent(display, window, context)) {
        const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        if (renderer && version) text = std::string("OpenGL: ") + renderer + ", " + version;
        glXMakeCurrent(display, None, nullptr);
      }
      glXDestroyContext(display, context);
    }
    XDestroyWindow(display, window);
    XFreeColormap(display, windowAttributes.colormap);
    XFree(visual);
  }
  XCloseDisplay(display);
  return text;
}
