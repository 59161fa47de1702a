#pragma once
// The timeline window on screen (FLTK 1.3): the sequence's entries as bars over the demo's time axis
// and the soundtrack's waveform, with the play cursor and the section loop, and the fields and buttons
// that edit the selected entry. It mirrors the model of timeline_form.h and reports what the user does
// to it; its events only change the model. The program calls TimelineFrame after every frame: the
// window shows the model (fields, title, status line, the drawing area) and the cursor follows the demo
// time.
#include <memory>
#include <string>

struct TimelineHost;
struct TimelineForm;
class TimelineWindow;

struct DeleteTimelineWindow {
  void operator()(TimelineWindow* window) const;
};
using TimelineWindowPtr = std::unique_ptr<TimelineWindow, DeleteTimelineWindow>;

// Creates and shows the window with its client area at the given screen place; starts decoding the
// sequence's MP3 for the waveform and, as the rows ask for them, drawing the entries' pictures (both in
// threads of their own). host must outlive the window.
TimelineWindowPtr OpenTimelineWindow(TimelineHost& host, int xPx, int yPx, int widthPx, int heightPx);

TimelineForm& ModelOf(TimelineWindow& window);

// Mirrors the model's fields, title and status line and redraws the drawing area where it changed (the
// cursor's columns alone when nothing else did).
void TimelineFrame(TimelineWindow& window);
// Shows the window again after its close box hid it.
void ShowTimelineWindow(TimelineWindow& window);
