// The timeline window on a real X display (CTest runs it on an X server of its own): an entry dragged with the
// mouse lands on the beat, "save sequence" writes the file, and the reader reads the change back.
#include "scene/sequence_file.h"
#include "support/fltk_pump.h"
#include "support/frame_timer.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"
#include "support/xdotool.h"
#include "timeline/key_lanes.h"
#include "timeline/timeline_form.h"
#include "timeline/timeline_layout.h"
#include "timeline/timeline_view.h"
#include "timeline/timeline_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

namespace {

// What a timeline window needs around the sequence read from dir/sceneseq.txt.
struct Session {
  explicit Session(const TempDir& dir) {
    LoadSceneSequence(dir / "sceneseq", sequence, {});
    host.sequence = &sequence;
    host.scene = &scene;
    host.history = &history;
    host.dataDir = dir.Path();
  }
  SceneSequence sequence;
  SceneState scene;
  UndoHistory history;
  TimelineHost host;
};

}  // namespace

TEST(TimelineWindow, DraggedEntryIsSavedOnTheBeatAndReadBack) {
  TempDir dir;
  WriteFile(dir / "song.mp3", "not a sound: the waveform stays empty");
  WriteFile(dir / "sceneseq.txt", CrLf({"// window test",
                                        "// bpm: 120",
                                        "10000",
                                        "ratio",
                                        "8",
                                        "mp3",
                                        dir / "song.mp3",
                                        "entries",
                                        "0",
                                        "0",
                                        "3999",
                                        "1",
                                        "0",
                                        "0",
                                        "0",
                                        "0",
                                        "~~~ first",
                                        "1",
                                        "4000",
                                        "9999",
                                        "1",
                                        "0",
                                        "0",
                                        "0",
                                        "0",
                                        "~~~"}));
  Session session(dir);
  SceneSequence& sequence = session.sequence;
  UndoHistory& history = session.history;
  TimelineHost& host = session.host;
  ASSERT_EQ(sequence.SequenceEntries.size(), 2u);
  std::vector<std::string> messages;
  host.ShowMessage = [&messages](const std::string& text) { messages.push_back(text); };
  int saves = 0;
  host.SequenceSaved = [&saves] { ++saves; };

  // A drawing area 1012 pixels wide: 1000 px of axis for 10 s, 10 ms per pixel.
  const TimelineLayout layout = LayOutTimeline(1012 + kTimelineScrollbarPx, 300);
  TimelineWindowPtr window = OpenTimelineWindow(host, 0, 0, 1012 + kTimelineScrollbarPx, 300);
  const FrameTimer frames([&window] { TimelineFrame(*window); });
  TimelineForm& form = ModelOf(*window);
  ASSERT_TRUE(PumpUntil([&] { return form.geometry.widthPx == 1012; })) << "the window was drawn";
  EXPECT_EQ(form.bpm, 120.0);
  const Fl_Window* shown = Fl::first_window();
  const auto at = [&](int x, int y) { return PointerTo(shown->x() + x, shown->y() + y); };
  const int canvasTop = layout.canvas.yPx;
  const int rowY = canvasTop + RowTopPx(form.geometry, 0) + RowHeightPx(form.geometry) / 2;

  ASSERT_TRUE(MovePointerInto(*shown, 200, rowY));
  ASSERT_EQ(Xdotool("mousedown 1").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.drag.spot != TimelineSpot::None; })) << "the drag began";
  ASSERT_TRUE(MovePointerInto(*shown, 260, rowY));
  ASSERT_TRUE(MovePointerInto(*shown, 323, rowY));  // 1230 ms on: the beat at 1000
  ASSERT_EQ(Xdotool("mouseup 1").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.drag.spot == TimelineSpot::None; }));
  EXPECT_EQ(form.selected, 0);
  EXPECT_EQ(sequence.SequenceEntries[0].StartTime, 1000u);
  EXPECT_EQ(sequence.SequenceEntries[0].EndTime, 4999u);
  EXPECT_EQ(history.undo.size(), 1u);

  const ControlRectPx save = layout.buttons[static_cast<int>(TimelineButton::Save)];
  ASSERT_EQ(Xdotool(at(save.xPx + save.widthPx / 2, save.yPx + save.heightPx / 2) + " click 1").status,
            0);  // "save sequence"
  ASSERT_TRUE(PumpUntil([&] { return saves == 1; })) << "saved";
  EXPECT_TRUE(messages.empty());
  SceneSequence read;
  ASSERT_EQ(LoadSceneSequence(dir / "sceneseq", read, {}), 2);
  EXPECT_EQ(read, sequence);
  const SequenceNotes notes = ReadSequenceNotes(dir / "sceneseq.txt", 2);
  EXPECT_EQ(notes.comments, (std::vector<std::string>{"// window test", "// bpm: 120"}));
  EXPECT_EQ(notes.separators[0], "~~~ first");
}

// A model changed between two frames while the cursor moves (an undo from another window, say): the
// cursor's columns drawn before the next frame must not leave the rest of the old picture on the screen.
TEST(TimelineWindow, ChangeBetweenFramesShowsWholeAlthoughOnlyTheCursorWasDamaged) {
  TempDir dir;
  WriteFile(dir / "song.mp3", "not a sound: the waveform stays empty");
  WriteFile(dir / "sceneseq.txt", CrLf({"10000", "ratio", "8", "mp3", dir / "song.mp3", "entries", "0", "0", "3999",
                                        "1", "0", "0", "0", "0", "~~~"}));
  Session session(dir);
  const TimelineLayout layout = LayOutTimeline(1012 + kTimelineScrollbarPx, 300);
  TimelineWindowPtr window = OpenTimelineWindow(session.host, 0, 0, 1012 + kTimelineScrollbarPx, 300);
  TimelineForm& form = ModelOf(*window);
  form.cursorMs = 5000;
  Fl_Window* shown = Fl::first_window();
  // Blue: preset 0's bar; the first 400 pixels of the row (10 ms per pixel) while it spans 0..3999 ms.
  const auto barAt = [&](int xPx) {
    Fl::flush();
    const RgbaImage screen = TakeScreenshot(dir / "screen.ppm");
    const int x = shown->x() + layout.canvas.xPx + xPx;
    const int y = shown->y() + layout.canvas.yPx + RowTopPx(form.geometry, 0) + RowHeightPx(form.geometry) / 2;
    if (screen.rgba.empty()) return false;
    const uint8_t* pixel = &screen.rgba[(size_t(y) * screen.widthPx + x) * 4];
    return pixel[2] > 150 && pixel[0] < 120;
  };
  ASSERT_TRUE(PumpUntil([&] {
    TimelineFrame(*window);
    return barAt(200);
  })) << "the bar is drawn";

  form.cursorMs = 5100;
  TimelineFrame(*window);  // damages the cursor's columns only
  SequenceSnapshot moved = TimelineSnapshot(form);
  moved.sequence.SequenceEntries[0].StartTime = 6000;
  moved.sequence.SequenceEntries[0].EndTime = 9999;
  PutTimelineSnapshot(form, moved);
  Fl::flush();  // the cursor's columns are drawn before the next frame
  TimelineFrame(*window);
  EXPECT_TRUE(PumpUntil([&] { return !barAt(200) && barAt(800); })) << "the bar shows where it is now, and only there";
}

// The wheel over the axis zooms in around the pointer, the wheel over the rows scrolls them, and the
// keys zoom around the cursor and show the whole demo again.
TEST(TimelineWindow, WheelZoomsTheAxisAndScrollsTheRows) {
  TempDir dir;
  std::string text = CrLf({"// window test", "// bpm: 120", "60000", "ratio", "8", "mp3", dir / "song.mp3", "entries"});
  for (int i = 0; i < 40; ++i)
    text += CrLf({std::to_string(i % 4), std::to_string(i * 1000), std::to_string(i * 1000 + 3999), "1", "0", "0", "0",
                  "0", "~~~"});
  WriteFile(dir / "song.mp3", "not a sound");
  WriteFile(dir / "sceneseq.txt", text);
  Session session(dir);
  TimelineHost& host = session.host;
  ASSERT_EQ(session.sequence.SequenceEntries.size(), 40u);
  constexpr uint32_t nowMs = 30000;
  const TimelineLayout layout = LayOutTimeline(1024, 320);
  TimelineWindowPtr window = OpenTimelineWindow(host, 0, 0, 1024, 320);
  const FrameTimer frames([&window] { TimelineFrame(*window); });
  TimelineForm& form = ModelOf(*window);
  form.cursorMs = nowMs;
  ASSERT_TRUE(PumpUntil([&] { return form.geometry.widthPx == layout.canvas.widthPx; }));
  const Fl_Window* shown = Fl::first_window();
  const auto at = [&](int x, int y) { return PointerTo(shown->x() + x, shown->y() + y); };
  ASSERT_TRUE(MovePointerInto(*shown, 500, layout.canvas.yPx + kRowsTopPx + 30));
  ASSERT_EQ(Xdotool("click 5 click 5").status, 0);  // wheel down over the rows
  ASSERT_TRUE(PumpUntil([&] { return form.geometry.view.rowsScrolledPx > 0; })) << "the rows scrolled";
  EXPECT_FALSE(IsZoomedIn(form.geometry));

  ASSERT_EQ(Xdotool(at(500, layout.canvas.yPx + 10) + " click 4 click 4 click 4").status, 0);  // wheel up over the axis
  ASSERT_TRUE(PumpUntil([&] { return IsZoomedIn(form.geometry); })) << "the axis zoomed in";
  EXPECT_NEAR(TimeOfPixel(form.geometry, 500),
              60000.0 * (500 - kTimelineMarginPx) / (layout.canvas.widthPx - 2 * kTimelineMarginPx), 60)
      << "around the pointer";

  ASSERT_EQ(Xdotool(at(500, layout.canvas.yPx + kRowsTopPx + 5) + " click 1").status, 0);  // focus the drawing area
  for (int i = 0; i < 30; ++i) ASSERT_EQ(Xdotool("key plus").status, 0);
  ASSERT_TRUE(PumpUntil([&] {
    return std::abs(ScalePxPerMs(form.geometry) - ClosestPxPerMs(form.geometry, 120.0)) < 1e-9;
  })) << "the closest zoom: 20 px a beat";
  EXPECT_TRUE(CursorInView(form.geometry, nowMs));
  ASSERT_EQ(Xdotool("key 0").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomedIn(form.geometry); })) << "the whole demo again";
}

// An entry's lanes on the screen: the curve where its keys put it, a click adds a key drawn selected, i
// changes its curve and Delete removes it (and not the entry).
TEST(TimelineWindow, LanesShowTheCurveAndKeysAreEditedWithMouseAndKeys) {
  TempDir dir;
  WriteFile(dir / "song.mp3", "not a sound");
  WriteFile(dir / "sceneseq.txt", CrLf({"10000", "ratio", "8", "mp3", dir / "song.mp3", "entries", "0", "0", "9999",
                                        "1", "0", "0", "0", "0", "~~~"}));
  Session session(dir);
  // BG_r (a byte) from 0 at the start up to 255 at 5 s, then level.
  AutomationTracks& tracks = session.sequence.SequenceEntries[0].Tracks;
  tracks = {{0, {{0, 0, KeyCurve::Linear}, {5000, 255, KeyCurve::Linear}}}};
  const TimelineLayout layout = LayOutTimeline(1012 + kTimelineScrollbarPx, 340);
  TimelineWindowPtr window = OpenTimelineWindow(session.host, 0, 0, 1012 + kTimelineScrollbarPx, 340);
  const FrameTimer frames([&window] { TimelineFrame(*window); });
  TimelineForm& form = ModelOf(*window);
  ASSERT_TRUE(PumpUntil([&] { return form.geometry.widthPx == 1012; }));
  const Fl_Window* shown = Fl::first_window();
  const int canvasTop = layout.canvas.yPx;
  ASSERT_TRUE(MovePointerInto(*shown, 300, canvasTop + RowTopPx(form.geometry, 0) + 5));
  ASSERT_EQ(Xdotool("click 1").status, 0);  // the bar: the entry and its lane
  ASSERT_TRUE(PumpUntil([&] { return form.geometry.laneCount == 1; }));

  const int laneTop = canvasTop + LaneTopPx(form.geometry, 0);
  const LaneRange range = LaneValueRange(tracks[0]);
  // What the screen shows in column x of the lane between the curve's heights for two values.
  const auto colourBetween = [&](int x, double lowValue, double highValue, auto isColour) {
    Fl::flush();
    const RgbaImage screen = TakeScreenshot(dir / "screen.ppm");
    if (screen.rgba.empty()) return false;
    const int from = int(LaneYOfValue(laneTop, range, highValue)) - 1;
    const int to = int(LaneYOfValue(laneTop, range, lowValue)) + 2;
    for (int y = from; y <= to; ++y) {
      const uint8_t* pixel = &screen.rgba[(size_t(shown->y() + y) * screen.widthPx + shown->x() + x) * 4];
      if (isColour(pixel)) return true;
    }
    return false;
  };
  const auto curve = [](const uint8_t* p) { return p[0] > 200 && p[1] > 160 && p[1] < 230 && p[2] < 130; };
  const auto white = [](const uint8_t* p) { return p[0] > 240 && p[1] > 240 && p[2] > 240; };
  const int quarterX = int(PixelOfTime(form.geometry, 2500)), lateX = int(PixelOfTime(form.geometry, 8000));
  EXPECT_TRUE(PumpUntil([&] { return colourBetween(quarterX, 125, 130, curve); })) << "halfway up at 2.5 s";
  EXPECT_TRUE(colourBetween(lateX, 254, 255, curve)) << "level at the top after 5 s";
  EXPECT_FALSE(colourBetween(quarterX, 0, 10, curve)) << "nowhere near the bottom there";

  const std::string quarterSpot = PointerTo(shown->x() + quarterX, shown->y() + laneTop + kLanePaddingPx);
  ASSERT_EQ(Xdotool(quarterSpot + " click 1").status, 0);  // a click above the curve
  ASSERT_TRUE(PumpUntil([&] { return tracks[0].Keys.size() == 3; })) << "a key added";
  EXPECT_EQ(tracks[0].Keys[1].TimeMs, 2500u);
  EXPECT_EQ(tracks[0].Keys[1].Value, 128);
  EXPECT_TRUE(PumpUntil([&] { return colourBetween(quarterX, 126, 129, white); })) << "drawn selected";

  ASSERT_EQ(Xdotool("key i").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return tracks[0].Keys[1].Curve == KeyCurve::Smooth; })) << "the next curve";
  ASSERT_EQ(Xdotool("key Delete").status, 0);
  ASSERT_TRUE(PumpUntil([&] { return tracks[0].Keys.size() == 2; })) << "the key removed";
  EXPECT_EQ(session.sequence.SequenceEntries.size(), 1u) << "the entry stays";
  EXPECT_EQ(session.history.undo.size(), 3u);
}
