// Convention: widget positions are window coordinates in pixels; the canvas reports pointer positions
// relative to its own top left corner, as the model's geometry has them.
#include "timeline/timeline_window.h"

// Our headers before FLTK's: X11 defines macros such as Bool and None.
#include "timeline/curve_vertices.h"
#include "timeline/key_lanes.h"
#include "timeline/lane_editing.h"
#include "timeline/lane_follow.h"
#include "timeline/timeline_form.h"
#include "timeline/timeline_layout.h"
#include "timeline/timeline_messages.h"
#include "timeline/timeline_snap.h"
#include "timeline/timeline_view.h"
#include "timeline/thumbnails.h"
#include "widgets/field_input.h"
#include "timeline/waveform.h"
#include "scene/mp3_location.h"
#include "engine/toolkit_guard.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>  // last: the offscreen drawing (X11's macros clash with names above)

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <deque>
#include <functional>

namespace {

constexpr Fl_Fontsize kFontSizePx = 11;
constexpr int kAxisKeyScrollParts = 4;  // Left and Right scroll the axis by a quarter of its width

// Colours of the preset numbers' bars: a small fixed palette, so one preset has one colour everywhere.
Fl_Color BarColor(uint8_t presetNumber) {
  static const Fl_Color kPalette[] = {
      fl_rgb_color(86, 132, 196), fl_rgb_color(196, 120, 70), fl_rgb_color(98, 168, 98),  fl_rgb_color(170, 96, 170),
      fl_rgb_color(190, 170, 70), fl_rgb_color(80, 170, 170), fl_rgb_color(200, 90, 110), fl_rgb_color(130, 130, 200)};
  return kPalette[presetNumber % (sizeof kPalette / sizeof kPalette[0])];
}

// The spacing of the seconds labels: the smallest step that leaves room for the text.
uint32_t LabelStepMs(const TimelineGeometry& geometry) {
  for (uint32_t step : {1000u, 2000u, 5000u, 10000u, 15000u, 30000u, 60000u, 120000u, 300000u, 600000u})
    if (PixelOfTime(geometry, step) - PixelOfTime(geometry, 0) >= 36) return step;
  return 1800000;
}

}  // namespace

// What the picture under the cursor shows: drawn again only when one of these changed, so a frame
// that only moves the cursor copies the picture and draws one line.
struct CanvasContent {
  int widthPx = 0, heightPx = 0;
  double pxPerMs = 0, firstMs = 0;
  int rowsScrolledPx = 0;
  bool tallRows = false;
  SceneSequence sequence;
  int selected = -1;
  std::optional<double> bpm;
  std::optional<uint32_t> loopInMs, loopOutMs;
  bool waveShown = false;
  int thumbnailsDrawn = 0;
  std::vector<KeyRef> selectedKeys;
  std::optional<std::array<int, 4>> boxPx;  // the corners of the box being drawn in the lanes
  bool operator==(const CanvasContent&) const = default;
};

// The drawing area: axis, waveform, bars, loop and cursor.
class TimelineCanvas : public Fl_Widget {
 public:
  TimelineCanvas(int x, int y, int w, int h, TimelineForm& form)
      : Fl_Widget(x, y, w, h),
        form_(form),
        waveform_(FindMp3File(form.host.sequence->Mp3FileName, form.host.dataDir)),
        thumbnails_(form.host.dataDir) {}
  ~TimelineCanvas() override {
    if (picture_) fl_delete_offscreen(picture_);
  }
  void draw() override;            // through the toolkit guard
  int handle(int event) override;  // through the toolkit guard
  // The model's geometry with the canvas's size, the demo's length and the entry count of now.
  TimelineGeometry& Geometry() {
    TimelineGeometry& g = form_.geometry;
    g.widthPx = w();
    g.heightPx = h();
    g.lengthMs = std::max<uint32_t>(form_.host.sequence->DemoLength, 1);
    g.entryCount = static_cast<int>(form_.host.sequence->SequenceEntries.size());
    ShowLanes(form_);
    KeepViewInRange(g);
    return g;
  }
  uint32_t CursorMs() const { return form_.cursorMs; }
  // After a frame: the whole area is drawn again when what it shows changed, else only the columns of
  // the cursor's old and new place are put on the screen again.
  void ShowFrame();

 private:
  int HandleMouse(int event);
  void DrawCanvas();
  CanvasContent Content() const;
  bool Wheel();
  bool Key();
  void AskForThumbnails(const TimelineGeometry& g);
  void DrawPicture(const TimelineGeometry& g);
  void DrawAxis(const TimelineGeometry& g);
  void DrawEnvelopes(const TimelineGeometry& g);
  void DrawBars(const TimelineGeometry& g);
  void DrawLanes(const TimelineGeometry& g);
  void DrawLane(const TimelineGeometry& g, const TSceneSeqEntry& entry, int lane);
  void PressInLanes(int xPx, int yPx);
  TimelineForm& form_;
  Waveform waveform_;
  Thumbnails thumbnails_;
  int thumbnailsDrawn_ = 0;  // counts the arrivals of pictures
  Fl_Offscreen picture_ = 0;
  CanvasContent drawn_;  // what picture_ shows
  int cursorXPx_ = -1;   // where the cursor was drawn, window x; -1: not drawn
};

int CursorXPx(const TimelineGeometry& g, uint32_t cursorMs, int canvasXPx) {
  return CursorInView(g, cursorMs) ? canvasXPx + int(PixelOfTime(g, cursorMs)) : -1;
}

void TimelineCanvas::ShowFrame() {
  const TimelineGeometry& g = Geometry();
  AskForThumbnails(g);
  if (!(Content() == drawn_)) return redraw();
  const int cursorXPx = CursorXPx(g, CursorMs(), x());
  if (cursorXPx == cursorXPx_) return;
  if (cursorXPx_ >= 0) damage(FL_DAMAGE_USER1, cursorXPx_, y(), 1, h());
  if (cursorXPx >= 0) damage(FL_DAMAGE_USER1, cursorXPx, y(), 1, h());
}

CanvasContent TimelineCanvas::Content() const {
  CanvasContent content;
  content.widthPx = w();
  content.heightPx = h();
  content.pxPerMs = ScalePxPerMs(form_.geometry);
  content.firstMs = form_.geometry.view.firstMs;
  content.rowsScrolledPx = form_.geometry.view.rowsScrolledPx;
  content.tallRows = form_.geometry.view.tallRows;
  content.sequence = *form_.host.sequence;
  content.selected = form_.selected;
  content.bpm = form_.bpm;
  content.loopInMs = form_.loopInMs;
  content.loopOutMs = form_.loopOutMs;
  content.waveShown = waveform_.Ready();
  content.thumbnailsDrawn = thumbnailsDrawn_;
  content.selectedKeys = form_.keys.keys;
  const TimelineDrag& drag = form_.drag;
  if (drag.spot == TimelineSpot::Lane && drag.moved && !drag.grabbedKey)
    content.boxPx = {drag.grabXPx, drag.grabYPx, drag.pointerXPx, drag.pointerYPx};
  return content;
}

// A picture of the preset of every row that shows, at the entry's middle, on rows high enough for one.
void TimelineCanvas::AskForThumbnails(const TimelineGeometry& g) {
  const SceneState& scene = *form_.host.scene;
  const std::vector<TSceneSeqEntry>& entries = form_.host.sequence->SequenceEntries;
  thumbnails_.Keep(static_cast<int>(entries.size()));
  if (!RowsShowPictures(g) || scene.ScenePresets.empty() || scene.PresetCount == 0) return;
  const auto [first, last] = EntriesInView(g);
  for (int i = first; i <= last; ++i) {
    const size_t preset = entries[i].PresetNumber < scene.PresetCount ? entries[i].PresetNumber : 0;
    if (preset >= scene.ScenePresets.size()) continue;
    thumbnails_.Want(i, {scene.ScenePresets[preset], entries[i], form_.host.sequence->ScreenCinemaWidthRatio,
                         kThumbnailWidthPx, kThumbnailHeightPx, scene.Envelopes});
  }
  if (thumbnails_.Collect()) ++thumbnailsDrawn_;
}

// The soundtrack's envelopes over the waveform band, one thin curve per source: each column shows the
// highest level of its milliseconds.
void TimelineCanvas::DrawEnvelopes(const TimelineGeometry& g) {
  const SoundEnvelopes* envelopes = form_.host.scene->Envelopes.get();
  if (!envelopes) return;
  static constexpr std::array<std::array<uchar, 3>, kSoundSourceCount> kColours{
      {{230, 90, 60}, {225, 200, 70}, {90, 190, 230}, {235, 235, 235}}};
  const int bottomPx = kAxisHeightPx + kWaveHeightPx - 2;
  const double heightPx = kWaveHeightPx - 4;
  fl_line_style(FL_SOLID, 1);
  for (int source = 0; source < kSoundSourceCount; ++source) {
    const std::vector<float>& levels = envelopes->levels[size_t(source)];
    if (levels.empty()) continue;
    fl_color(fl_rgb_color(kColours[source][0], kColours[source][1], kColours[source][2]));
    fl_begin_line();
    for (int xPx = 0; xPx < w(); ++xPx) {
      const size_t fromMs = TimeOfPixel(g, xPx), toMs = std::max<size_t>(fromMs + 1, TimeOfPixel(g, xPx + 1));
      if (fromMs >= levels.size()) break;
      const float level =
          *std::max_element(levels.begin() + fromMs, levels.begin() + std::min(toMs, levels.size()));
      fl_vertex(xPx, bottomPx - level * heightPx);
    }
    fl_end_line();
  }
}

// The picture is drawn at 0, 0 of the offscreen.
void TimelineCanvas::DrawAxis(const TimelineGeometry& g) {
  fl_color(fl_rgb_color(40, 40, 44));
  fl_rectf(0, 0, w(), kRowsTopPx);
  const double firstMs = g.view.firstMs, lastMs = std::min<double>(firstMs + VisibleMs(g), g.lengthMs);
  // The section loop: a shaded range over axis and rows.
  const std::optional<uint32_t> in = form_.loopInMs, out = form_.loopOutMs;
  if (in && out && *in < *out && *out >= firstMs && *in <= lastMs) {
    const int from = std::max(0, int(PixelOfTime(g, *in))), to = std::min(w(), int(PixelOfTime(g, *out)));
    fl_color(fl_rgb_color(70, 70, 40));
    fl_rectf(from, 0, std::max(1, to - from), h());
  }
  // Beats, when there is room between them.
  if (form_.bpm) {
    const double stepMs = GridStepMs(form_.bpm);
    if (stepMs * ScalePxPerMs(g) >= 4) {
      fl_color(fl_rgb_color(64, 64, 72));
      for (double t = std::floor(firstMs / stepMs) * stepMs; t <= lastMs; t += stepMs) {
        const int px = int(PixelOfTime(g, t));
        fl_line(px, kAxisHeightPx, px, h());
      }
    }
  }
  // Waveform.
  const std::vector<ColumnPeak>& columns = waveform_.Columns(g);
  const int middle = kAxisHeightPx + kWaveHeightPx / 2;
  const float half = kWaveHeightPx / 2.0f - 1;
  fl_color(fl_rgb_color(110, 150, 120));
  for (size_t column = 0; column < columns.size(); ++column) {
    const ColumnPeak& peak = columns[column];
    if (peak.high < peak.low) continue;
    fl_yxline(int(column), middle - int(std::lround(peak.high * half)), middle - int(std::lround(peak.low * half)));
  }
  DrawEnvelopes(g);
  // Ruler: a tick every second, labelled where there is room; every beat a short tick when zoomed in.
  fl_color(fl_rgb_color(200, 200, 200));
  fl_font(FL_HELVETICA, kFontSizePx - 1);
  const uint32_t labelStep = LabelStepMs(g);
  for (uint32_t t = uint32_t(firstMs / 1000) * 1000; t <= lastMs; t += 1000) {
    const int px = int(PixelOfTime(g, t));
    const bool labelled = t % labelStep == 0;
    fl_yxline(px, kAxisHeightPx - (labelled ? 7 : 3), kAxisHeightPx - 1);
    if (labelled) fl_draw((std::to_string(t / 1000) + "s").c_str(), px + 2, kAxisHeightPx - 7);
    if (t > g.lengthMs - 1000) break;
  }
}

void TimelineCanvas::DrawBars(const TimelineGeometry& g) {
  const std::vector<TSceneSeqEntry>& entries = form_.host.sequence->SequenceEntries;
  const int rowHeight = RowHeightPx(g);
  const bool pictures = RowsShowPictures(g);
  fl_push_clip(0, kRowsTopPx, w(), h() - kRowsTopPx);
  fl_font(FL_HELVETICA, kFontSizePx);
  const auto [first, last] = EntriesInView(g);
  for (int i = first; i <= last; ++i) {
    const int rowTop = RowTopPx(g, i);
    if (i == form_.selected) {
      fl_color(fl_rgb_color(52, 52, 60));
      fl_rectf(0, rowTop, w(), rowHeight);
    }
    const BarSpanPx span = BarSpan(g, entries[i]);
    // Bars far outside the axis are cut to it, so their coordinates stay small.
    const double leftPx = std::max(span.leftPx, -4.0), rightPx = std::min(span.rightPx, w() + 4.0);
    if (rightPx < -2 || leftPx > w() + 2) continue;
    const int left = int(leftPx), width = std::max(2, int(rightPx - leftPx));
    fl_color(BarColor(entries[i].PresetNumber));
    fl_rectf(left, rowTop + 1, width, rowHeight - 2);
    const std::string label = EntryLabel(entries[i]);
    // The label and the picture go on the part of the bar that shows.
    const RowLayoutPx row = LayOutRow({std::max(leftPx, 0.0), std::min<double>(rightPx, w())},
                                      int(fl_width(label.c_str())), kThumbnailWidthPx, w());
    const RgbaImage* picture = pictures ? thumbnails_.Picture(i) : nullptr;
    if (picture) {
      fl_push_clip(left, rowTop, width, rowHeight);
      fl_draw_image(picture->rgba.data(), row.pictureXPx, rowTop + (rowHeight - int(picture->heightPx)) / 2,
                    int(picture->widthPx), int(picture->heightPx), 4);
      fl_pop_clip();
    }
    fl_color(i == form_.selected ? FL_WHITE : fl_rgb_color(20, 20, 20));
    fl_rect(left, rowTop + 1, width, rowHeight - 2);
    const int baseline = rowTop + (rowHeight + kFontSizePx) / 2 - 2;
    fl_color(row.labelInside ? FL_WHITE : fl_rgb_color(210, 210, 210));
    if (row.labelInside) fl_push_clip(left, rowTop, width, rowHeight);
    fl_draw(label.c_str(), row.labelXPx, baseline);
    if (row.labelInside) fl_pop_clip();
  }
  fl_pop_clip();
}

// Squares of one colour, with an inside of another when given.
void DrawHandles(std::vector<XRectangle>& handles, Fl_Color colour, std::optional<Fl_Color> inside = {}) {
  if (handles.empty()) return;
  fl_color(colour);
  XFillRectangles(fl_display, fl_window, fl_gc, handles.data(), int(handles.size()));
  if (!inside) return;
  for (XRectangle& handle : handles) handle.x += 2, handle.y += 2, handle.width -= 4, handle.height -= 4;
  fl_color(*inside);
  XFillRectangles(fl_display, fl_window, fl_gc, handles.data(), int(handles.size()));
}

// The track's curve from leftPx to rightPx, with a vertex only where it bends (CurveVertices), so a long
// linear or step stretch is one line for the X server.
void DrawCurve(const TimelineGeometry& g, const TSceneSeqEntry& entry, const AutomationTrack& track, LaneRange range,
               int topPx, int leftPx, int rightPx) {
  const double pxPerMs = ScalePxPerMs(g);
  const std::vector<CurveVertex> vertices = CurveVertices(leftPx, rightPx, [&](int xPx) {
    const double localMs = g.view.firstMs + (xPx - kTimelineMarginPx) / pxPerMs - entry.StartTime;
    return LaneYOfValue(topPx, range, TrackValue(track, std::llround(localMs)));
  });
  if (vertices.size() < 2) return;
  fl_color(fl_rgb_color(235, 195, 80));
  fl_begin_line();
  for (const CurveVertex& vertex : vertices) fl_vertex(vertex.xPx, vertex.yPx);
  fl_end_line();
}

// One lane: its parameter's name, the curve over the entry's span (the value between the lane's range
// scaled to its height), and a handle on every key, the selected ones white.
void TimelineCanvas::DrawLane(const TimelineGeometry& g, const TSceneSeqEntry& entry, int lane) {
  const int topPx = LaneTopPx(g, lane);
  const BarSpanPx span = BarSpan(g, entry);
  const int leftPx = std::max(0, int(std::floor(span.leftPx))), rightPx = std::min(w(), int(std::ceil(span.rightPx)));
  // The entry's span lighter than the rest of the lane, each pixel filled once.
  fl_color(fl_rgb_color(36, 36, 42));
  if (leftPx > 0) fl_rectf(0, topPx, leftPx, kLaneHeightPx);
  if (rightPx < w()) fl_rectf(std::max(0, rightPx), topPx, w() - std::max(0, rightPx), kLaneHeightPx);
  fl_color(fl_rgb_color(48, 50, 60));
  if (rightPx > leftPx) fl_rectf(leftPx, topPx, rightPx - leftPx, kLaneHeightPx);
  fl_color(fl_rgb_color(24, 24, 28));
  fl_xyline(0, topPx + kLaneHeightPx - 1, w());
  const AutomationTrack& track = entry.Tracks[lane];
  // The name left of the span when there is room, else at its start under the curve.
  const std::string name = LaneName(form_, track.Param);
  fl_font(FL_HELVETICA, kFontSizePx);
  const int nameWidthPx = int(fl_width(name.c_str()));
  const int nameXPx = leftPx >= nameWidthPx + 8 ? leftPx - nameWidthPx - 4 : std::max(0, leftPx) + 3;
  fl_color(fl_rgb_color(170, 170, 185));
  fl_draw(name.c_str(), nameXPx, topPx + kFontSizePx + 1);
  const LaneRange range = LaneValueRange(track);
  DrawCurve(g, entry, track, range, topPx, leftPx, rightPx);
  // The handles in one request per colour: a thousand keys cost the X server a handful of requests.
  // Keys are orange, the selected ones white inside, those past the entry's end grey.
  constexpr int kHandlePx = 7;
  const std::vector<KeyRef>& selected = form_.keys.keys;
  std::vector<XRectangle> plain, chosen, pastEnd;
  for (size_t i = 0; i < track.Keys.size(); ++i) {
    const int xPx = int(std::lround(KeyXPx(g, entry, track.Keys[i])));
    if (xPx < -kHandlePx || xPx > w() + kHandlePx) continue;
    const int yPx = int(std::lround(LaneYOfValue(topPx, range, track.Keys[i].Value)));
    const XRectangle handle{short(xPx - kHandlePx / 2), short(yPx - kHandlePx / 2), kHandlePx, kHandlePx};
    if (std::binary_search(selected.begin(), selected.end(), KeyRef{track.Param, i})) chosen.push_back(handle);
    else if (track.Keys[i].TimeMs > LastLocalMs(entry)) pastEnd.push_back(handle);
    else plain.push_back(handle);
  }
  DrawHandles(plain, fl_rgb_color(250, 140, 40));
  DrawHandles(pastEnd, fl_rgb_color(120, 110, 100));
  DrawHandles(chosen, fl_rgb_color(255, 120, 40), FL_WHITE);
}

void TimelineCanvas::DrawLanes(const TimelineGeometry& g) {
  const std::vector<TSceneSeqEntry>& entries = form_.host.sequence->SequenceEntries;
  if (g.lanesEntry < 0 || g.lanesEntry >= static_cast<int>(entries.size())) return;
  fl_push_clip(0, kRowsTopPx, w(), h() - kRowsTopPx);
  for (int lane = 0; lane < g.laneCount; ++lane) {
    const int topPx = LaneTopPx(g, lane);
    if (topPx + kLaneHeightPx >= kRowsTopPx && topPx < h()) DrawLane(g, entries[g.lanesEntry], lane);
  }
  const TimelineDrag& drag = form_.drag;
  if (drag.spot == TimelineSpot::Lane && drag.moved && !drag.grabbedKey) {
    fl_color(FL_WHITE);
    fl_line_style(FL_DOT);
    fl_rect(std::min(drag.grabXPx, drag.pointerXPx), std::min(drag.grabYPx, drag.pointerYPx),
            std::abs(drag.pointerXPx - drag.grabXPx) + 1, std::abs(drag.pointerYPx - drag.grabYPx) + 1);
    fl_line_style(0);
  }
  fl_pop_clip();
}

void TimelineCanvas::DrawPicture(const TimelineGeometry& g) {
  fl_color(fl_rgb_color(30, 30, 34));
  fl_rectf(0, 0, w(), h());
  DrawAxis(g);
  DrawBars(g);
  DrawLanes(g);
}

void TimelineCanvas::draw() {
  FromToolkit([this] { DrawCanvas(); });
}

void TimelineCanvas::DrawCanvas() {
  const TimelineGeometry& g = Geometry();
  AskForThumbnails(g);
  CanvasContent content = Content();
  if (!picture_ || content.widthPx != drawn_.widthPx || content.heightPx != drawn_.heightPx) {
    if (picture_) fl_delete_offscreen(picture_);
    picture_ = fl_create_offscreen(w(), h());
    drawn_ = {};
  }
  const bool changed = !(content == drawn_);
  if (changed) {
    fl_begin_offscreen(picture_);
    DrawPicture(g);
    fl_end_offscreen();
    drawn_ = std::move(content);
  }
  // A picture drawn anew goes on the screen whole, also when only the cursor's columns were damaged (a
  // model changed between two frames): no later frame would show the rest of it.
  if (changed) fl_push_no_clip();
  fl_push_clip(x(), y(), w(), h());
  fl_copy_offscreen(x(), y(), w(), h(), picture_, 0, 0);
  cursorXPx_ = CursorXPx(g, CursorMs(), x());
  if (cursorXPx_ >= 0) {
    fl_color(FL_RED);
    fl_yxline(cursorXPx_, y(), y() + h());
  }
  fl_pop_clip();
  if (changed) fl_pop_clip();
}

// The wheel over the axis zooms around the pointer; over the rows it scrolls them, sideways (or with
// Shift) it scrolls the axis.
bool TimelineCanvas::Wheel() {
  TimelineGeometry& g = Geometry();
  const int xPx = Fl::event_x() - x(), yPx = Fl::event_y() - y();
  const int dx = Fl::event_dx(), dy = Fl::event_dy();
  if (yPx < kRowsTopPx && dy != 0) {
    ZoomAround(g, std::pow(kZoomStep, -dy), xPx, form_.bpm);
  } else if (dx != 0 || (dy != 0 && (Fl::event_state() & FL_SHIFT))) {
    ScrollAxisTo(g, g.view.firstMs + (dx != 0 ? dx : dy) * VisibleMs(g) / 10);
  } else if (dy != 0) {
    ScrollRowsTo(g, g.view.rowsScrolledPx + dy * RowHeightPx(g));
    return true;
  }
  AuthorMovedView(g, CursorMs());
  return true;
}

// With the drawing area focused: + and - zoom around the cursor, 0 shows the whole demo, Left and Right
// scroll the axis, Up and Down select the entry above or below, i gives the selected keys the next curve.
bool TimelineCanvas::Key() {
  TimelineGeometry& g = Geometry();
  const int key = Fl::event_key();
  const char typed = Fl::event_text()[0];
  if (typed == '+' || typed == '=' || key == FL_KP + '+') ZoomAroundCursor(g, kZoomStep, CursorMs(), form_.bpm);
  else if (typed == '-' || key == FL_KP + '-') ZoomAroundCursor(g, 1 / kZoomStep, CursorMs(), form_.bpm);
  else if (typed == '0') ShowWholeDemo(g);
  else if (typed == 'i') CycleKeyCurve(form_);
  else if (key == FL_Left || key == FL_Right) {
    ScrollAxisTo(g, g.view.firstMs + (key == FL_Left ? -1 : 1) * VisibleMs(g) / kAxisKeyScrollParts);
    AuthorMovedView(g, CursorMs());
  } else if (key == FL_Up || key == FL_Down) {
    const int count = g.entryCount;
    if (count == 0) return true;
    const int from = form_.selected < 0 ? (key == FL_Up ? count : -1) : form_.selected;
    SelectEntry(form_, std::clamp(from + (key == FL_Up ? -1 : 1), 0, count - 1));
  } else {
    return false;
  }
  return true;
}

int TimelineCanvas::handle(int event) {
  int used = 0;
  FromToolkit([&] { used = HandleMouse(event); });
  return used;
}

// In a lane the right button opens the curve menu for the key under the pointer, elsewhere in the lane
// the menu of the source its parameter follows; the left one edits the keys, with Shift scaling, Ctrl
// adding to the selection and Alt placing a new key off the grid.
void TimelineCanvas::PressInLanes(int xPx, int yPx) {
  const int state = Fl::event_state();
  if (Fl::event_button() != FL_RIGHT_MOUSE)
    return PressInLane(form_, xPx, yPx, {(state & FL_SHIFT) != 0, (state & FL_CTRL) != 0, (state & FL_ALT) != 0});
  if (!SelectKeyAt(form_, xPx, yPx)) {
    const int lane = HitTest(form_.geometry, *form_.host.sequence, xPx, yPx).lane;
    Fl_Menu_Item sources[kSoundSourceCount + 2] = {};
    for (int i = 0; i <= kSoundSourceCount; ++i) sources[i].label(kFollowMenuItems[i]);
    if (const Fl_Menu_Item* picked = sources->popup(Fl::event_x(), Fl::event_y())) {
      const int index = static_cast<int>(picked - sources);
      SetLaneFollow(form_, lane, index < kSoundSourceCount ? std::optional(SoundSource(index)) : std::nullopt);
    }
    return;
  }
  redraw();
  Fl_Menu_Item curves[kKeyCurveCount + 1] = {};
  for (int i = 0; i < kKeyCurveCount; ++i) curves[i].label(kKeyCurveNames[i]);
  if (const Fl_Menu_Item* picked = curves->popup(Fl::event_x(), Fl::event_y()))
    SetKeyCurve(form_, static_cast<KeyCurve>(picked - curves));
}

int TimelineCanvas::HandleMouse(int event) {
  Geometry();
  switch (event) {
    case FL_PUSH: {
      const bool loopDrag = Fl::event_button() == FL_RIGHT_MOUSE || (Fl::event_state() & FL_SHIFT);
      // The focus first: a field left with a typed value stores it into the entry it belongs to
      // before the click selects another one.
      if (Fl::focus() != this) take_focus();
      const int xPx = Fl::event_x() - x(), yPx = Fl::event_y() - y();
      if (HitTest(form_.geometry, *form_.host.sequence, xPx, yPx).spot == TimelineSpot::Lane) PressInLanes(xPx, yPx);
      else PressAt(form_, xPx, yPx, loopDrag);
      return 1;
    }
    case FL_DRAG: DragTo(form_, Fl::event_x() - x(), Fl::event_y() - y(), (Fl::event_state() & FL_ALT) != 0); return 1;
    case FL_RELEASE: Release(form_); return 1;
    case FL_ENTER:
    case FL_MOVE: {  // the pointer shows what a press there would drag
      const TimelineSpot spot =
          HitTest(form_.geometry, *form_.host.sequence, Fl::event_x() - x(), Fl::event_y() - y()).spot;
      const bool end = spot == TimelineSpot::BarStart || spot == TimelineSpot::BarEnd;
      window()->cursor(end ? FL_CURSOR_WE : spot == TimelineSpot::Bar ? FL_CURSOR_MOVE : FL_CURSOR_DEFAULT);
      return 1;
    }
    case FL_LEAVE: window()->cursor(FL_CURSOR_DEFAULT); return 1;
    case FL_MOUSEWHEEL: return Wheel() ? 1 : 0;
    case FL_KEYBOARD: return Key() ? 1 : 0;
    case FL_FOCUS:
    case FL_UNFOCUS: return 1;
    default: return Fl_Widget::handle(event);
  }
}

// Single-buffered: the drawing area keeps its own picture, so a second buffer would only copy it again.
class TimelineWindow : public Fl_Window {
 public:
  TimelineWindow(TimelineHost& host, int x, int y, int w, int h);
  TimelineForm& Form() { return form_; }
  int handle(int event) override;  // through the toolkit guard
  void resize(int x, int y, int w, int h) override;
  void SyncView();
  void Frame();

 private:
  template <typename Widget>
  void On(Widget* widget, std::function<void()> action);
  int HandleKeys(int event);  // 1 when the window used the key
  void SyncTitleAndStatus();
  void PlaceControls();
  void SyncScrollbars();

  TimelineForm form_;
  std::deque<std::function<void()>> actions_;
  Fl_Box* captions_[kTimelineFieldCount] = {};
  FieldInput* fields_[kTimelineFieldCount] = {};
  Fl_Button* buttons_[kTimelineButtonCount] = {};
  Fl_Check_Button* preview_ = nullptr;
  Fl_Check_Button* tallRows_ = nullptr;
  Fl_Box* status_ = nullptr;
  TimelineCanvas* canvas_ = nullptr;
  Fl_Scrollbar* rowsScrollbar_ = nullptr;
  Fl_Scrollbar* axisScrollbar_ = nullptr;
};

template <typename Widget>
void TimelineWindow::On(Widget* widget, std::function<void()> action) {
  actions_.push_back([action = std::move(action)] { FromToolkit(action); });
  widget->callback([](Fl_Widget*, void* data) { (*static_cast<std::function<void()>*>(data))(); }, &actions_.back());
}

TimelineWindow::TimelineWindow(TimelineHost& host, int x, int y, int w, int h)
    : Fl_Window(x, y, w, h, kTimelineCaption), form_(host) {
  xclass(kTimelineWindowClass);
  SetUpTimeline(form_);
  for (int i = 0; i < kTimelineFieldCount; ++i) {
    Fl_Box* caption = new Fl_Box(0, 0, 1, 1, kTimelineFieldCaptions[i]);
    caption->labelsize(kFontSizePx);
    caption->align(FL_ALIGN_RIGHT | FL_ALIGN_INSIDE);
    captions_[i] = caption;
    FieldInput* field = new FieldInput(0, 0, 1, 1);
    field->textsize(kFontSizePx);
    field->when(FL_WHEN_CHANGED);
    const auto which = static_cast<TimelineField>(i);
    On(field, [this, field, which] { TypeTimelineText(form_, which, field->value()); });
    field->onFinish = [this, which] { FinishTimelineText(form_, which); };
    fields_[i] = field;
  }
  for (int i = 0; i < kTimelineButtonCount; ++i) {
    Fl_Button* button = new Fl_Button(0, 0, 1, 1, kTimelineButtonCaptions[i]);
    button->labelsize(kFontSizePx);
    const auto which = static_cast<TimelineButton>(i);
    On(button, [this, which] { ClickTimelineButton(form_, which); });
    buttons_[i] = button;
    if (which == TimelineButton::Save && form_.host.readOnly) button->deactivate();  // the installed demo
  }
  preview_ = new Fl_Check_Button(0, 0, 1, 1, kPreviewCaption);
  preview_->labelsize(kFontSizePx);
  On(preview_, [this] { SwitchPreview(form_, preview_->value() != 0); });
  tallRows_ = new Fl_Check_Button(0, 0, 1, 1, kTallRowsCaption);
  tallRows_->labelsize(kFontSizePx);
  On(tallRows_, [this] {
    form_.geometry.view.tallRows = tallRows_->value() != 0;
    KeepViewInRange(form_.geometry);
    ScrollRowIntoView(form_.geometry, form_.selected);
  });
  status_ = new Fl_Box(0, 0, 1, 1);  // what is saved and what is not
  status_->labelsize(kFontSizePx);
  status_->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);

  canvas_ = new TimelineCanvas(0, 0, 1, 1, form_);
  rowsScrollbar_ = new Fl_Scrollbar(0, 0, 1, 1);
  rowsScrollbar_->type(FL_VERTICAL);
  On(rowsScrollbar_, [this] { ScrollRowsTo(form_.geometry, rowsScrollbar_->value()); });
  axisScrollbar_ = new Fl_Scrollbar(0, 0, 1, 1);
  axisScrollbar_->type(FL_HORIZONTAL);
  On(axisScrollbar_, [this] {
    ScrollAxisTo(form_.geometry, axisScrollbar_->value());
    AuthorMovedView(form_.geometry, canvas_->CursorMs());
  });
  resizable(canvas_);
  size_range(320, 200);
  end();
  PlaceControls();
  callback([](Fl_Widget* window, void*) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;  // Escape keeps the window
    FromToolkit([window] { window->hide(); });                               // F2 shows it again
  });
  SyncView();
}

// The controls where the layout puts them for the window's size.
void TimelineWindow::PlaceControls() {
  const TimelineLayout layout = LayOutTimeline(w(), h());
  const auto place = [](Fl_Widget* widget, const ControlRectPx& r) {
    widget->resize(r.xPx, r.yPx, r.widthPx, r.heightPx);
  };
  for (int i = 0; i < kTimelineFieldCount; ++i) {
    place(captions_[i], layout.captions[i]);
    place(fields_[i], layout.fields[i]);
  }
  for (int i = 0; i < kTimelineButtonCount; ++i) place(buttons_[i], layout.buttons[i]);
  place(preview_, layout.preview);
  place(tallRows_, layout.tallRows);
  place(status_, layout.status);
  place(canvas_, layout.canvas);
  place(rowsScrollbar_, layout.rowsScrollbar);
  place(axisScrollbar_, layout.axisScrollbar);
  canvas_->Geometry();
  SyncScrollbars();
  init_sizes();
}

void TimelineWindow::resize(int x, int y, int w, int h) {
  const bool resized = w != this->w() || h != this->h();
  Fl_Window::resize(x, y, w, h);
  if (resized && canvas_) PlaceControls();
}

void TimelineWindow::SyncScrollbars() {
  const TimelineGeometry& g = form_.geometry;
  const int roomPx = std::max(1, g.heightPx - kRowsTopPx);
  rowsScrollbar_->value(g.view.rowsScrolledPx, roomPx, 0, roomPx + MaxRowsScrollPx(g));
  rowsScrollbar_->linesize(RowHeightPx(g));
  const int visibleMs = std::max(1, int(std::lround(VisibleMs(g))));
  axisScrollbar_->value(int(std::lround(g.view.firstMs)), std::min<int>(visibleMs, g.lengthMs), 0, int(g.lengthMs));
  axisScrollbar_->linesize(std::max(1, visibleMs / 10));
}

void TimelineWindow::Frame() {
  FollowCursor(canvas_->Geometry(), canvas_->CursorMs());
  SyncView();
  canvas_->ShowFrame();
}

int TimelineWindow::handle(int event) {
  int used = 0;
  FromToolkit([&] { used = HandleKeys(event); });
  return used ? used : Fl_Window::handle(event);
}

int TimelineWindow::HandleKeys(int event) {
  if (event != FL_KEYBOARD && event != FL_SHORTCUT) return 0;
  const int key = Fl::event_key();
  if (key == FL_Delete && Fl::focus() == canvas_) {  // the selected keys, else the selected entry
    if (!DeleteSelectedKeys(form_)) ClickTimelineButton(form_, TimelineButton::Delete);
    return 1;
  }
  return form_.host.Key && form_.host.Key(key, Fl::event_state() & FL_CTRL, Fl::event_state() & FL_SHIFT);
}

void TimelineWindow::SyncTitleAndStatus() {
  if (form_.title != (label() ? label() : "")) copy_label(form_.title.c_str());
  if (form_.status != (status_->label() ? status_->label() : "")) {
    status_->copy_label(form_.status.c_str());
    status_->redraw();
  }
}

void TimelineWindow::SyncView() {
  for (int i = 0; i < kTimelineFieldCount; ++i) {
    FieldInput* field = fields_[i];
    if (std::strcmp(field->value(), form_.fields[i].c_str()) != 0) field->value(form_.fields[i].c_str());
    const TimelineField kind = static_cast<TimelineField>(i);
    const bool enabled = kind == TimelineField::KeyValue ? !form_.keys.keys.empty()
                         : kind == TimelineField::FollowGain || kind == TimelineField::FollowOffset
                             ? SelectedFollowParam(form_) >= 0
                             : i >= kEntryFieldCount || form_.selected >= 0;
    if (enabled && !field->active()) field->activate();
    if (!enabled && field->active()) field->deactivate();
  }
  if ((preview_->value() != 0) != form_.preview) preview_->value(form_.preview ? 1 : 0);
  SyncTitleAndStatus();
  if ((tallRows_->value() != 0) != form_.geometry.view.tallRows) tallRows_->value(form_.geometry.view.tallRows ? 1 : 0);
  canvas_->Geometry();
  SyncScrollbars();
}

void DeleteTimelineWindow::operator()(TimelineWindow* window) const { delete window; }

TimelineWindowPtr OpenTimelineWindow(TimelineHost& host, int xPx, int yPx, int widthPx, int heightPx) {
  if (!host.ShowMessage) host.ShowMessage = [](const std::string& text) { fl_message("%s", text.c_str()); };
  TimelineWindowPtr window(new TimelineWindow(host, xPx, yPx, widthPx, heightPx));
  window->show();
  return window;
}

TimelineForm& ModelOf(TimelineWindow& window) { return window.Form(); }

void TimelineFrame(TimelineWindow& window) { window.Frame(); }

void ShowTimelineWindow(TimelineWindow& window) { window.show(); }
