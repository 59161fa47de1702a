#pragma once
// How often the display shows a new picture: the cap of the frame loop unless --max-fps sets one.

// The refresh rate of the current mode of the display's first screen in Hz (X RandR), or 60 when the
// X server does not say. The display must be open (fl_open_display).
double DisplayRefreshHz();
