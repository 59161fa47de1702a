#include "ui/display_refresh.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/extensions/Xrandr.h>

namespace {
constexpr double kUnknownRefreshHz = 60;
}

double DisplayRefreshHz() {
  int eventBase = 0, errorBase = 0;
  if (fl_display == nullptr || !XRRQueryExtension(fl_display, &eventBase, &errorBase)) return kUnknownRefreshHz;
  XRRScreenConfiguration* configuration = XRRGetScreenInfo(fl_display, RootWindow(fl_display, fl_screen));
  if (configuration == nullptr) return kUnknownRefreshHz;
  const short rateHz = XRRConfigCurrentRate(configuration);
  XRRFreeScreenConfigInfo(configuration);
  return rateHz > 0 ? rateHz : kUnknownRefreshHz;
}
