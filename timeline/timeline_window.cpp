// Convention: widget positions are window coordinates in pixels; the canvas reports pointer positions
// relative to its own top left corner, as the model's geometry has them.
#include "timeline/timeline_window.h"

// Our headers before FLTK's: X11 defines macros such as Bool and None.
#include "timeline/timeline_form.h"
#include "timeline/timeline_messages.h"
#include "timeline/thumbnails.h"
#include "tweak/field_input.h"
#include "timeline/waveform.h"
#include "engine/toolkit_guard.h"
#include "tweak/dev_keys.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>  // last: the offscreen drawing (X11's macros clash with names above)

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <functional>

namespace {

constexpr Fl_Fontsize kFontSizePx = 11;
constexpr int kFieldRowYPx = 4, kButtonRowYPx = 28, kControlHeightPx = 20;
constexpr int kCanvasTopPx = 52;
constexpr int kFieldCaptionPx = 38, kFieldWidthPx = 62;
constexpr uint32_t kMinThumbnailHeightPx = 8;  // lower rows show no pictures

// Colours of the preset numbers' bars: a small fixed palette, so one preset has one colour everywhere.
Fl_Color BarColor(uint8_t presetNumber) {
  static const Fl_Color kPalette[] = {fl_rgb_color(86, 132, 196), fl_rgb_color(196, 120, 70),  fl_rgb_color(98, 168, 98),
                                      fl_rgb_color(170, 96, 170), fl_rgb_color(190, 170, 70),  fl_rgb_color(80, 170, 170),
                                      fl_rgb_color(200, 90, 110), fl_rgb_color(130, 130, 200)};
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
  SceneSequence sequence;
  int selected = -1;
  std::optional<double> bpm;
  std::optional<uint32_t> loopInMs, loopOutMs;
  bool waveShown = false;
  int thumbnailsDrawn = 0;
  bool operator==(const CanvasContent&) const = default;
};

// The drawing area: axis, waveform, bars, loop and cursor.
class TimelineCanvas : public Fl_Widget {
 public:
  TimelineCanvas(int x, int y, int w, int h, TimelineForm& form, std::function<void()> changed)
      : Fl_Widget(x, y, w, h),
        form_(form),
        changed_(std::move(changed)),
        waveform_(form.host.sequence->Mp3FileName),
        thumbnails_(form.host.dataDir) {}
  ~TimelineCanvas() override {
    if (picture_) fl_delete_offscreen(picture_);
  }
  void draw() override;            // through the toolkit guard
  int handle(int event) override;  // through the toolkit guard
  TimelineGeometry Geometry() const {
    return {w(), h(), std::max<uint32_t>(form_.host.sequence->DemoLength, 1),
            static_cast<int>(form_.host.sequence->SequenceEntries.size())};
  }

 private:
  int HandleMouse(int event);
  void DrawCanvas();
  CanvasContent Content() const;
  void AskForThumbnails(const TimelineGeometry& g);
  void DrawPicture(const TimelineGeometry& g);
  void DrawAxis(const TimelineGeometry& g);
  void DrawBars(const TimelineGeometry& g);
  TimelineForm& form_;
  std::function<void()> changed_;
  Waveform waveform_;
  Thumbnails thumbnails_;
  int thumbnailsDrawn_ = 0;  // counts the arrivals of pictures
  Fl_Offscreen picture_ = 0;
  CanvasContent drawn_;  // what picture_ shows
};

CanvasContent TimelineCanvas::Content() const {
  CanvasContent content;
  content.widthPx = w();
  content.heightPx = h();
  content.sequence = *form_.host.sequence;
  content.selected = form_.selected;
  content.bpm = form_.bpm;
  if (form_.host.LoopIn) content.loopInMs = form_.host.LoopIn();
  if (form_.host.LoopOut) content.loopOutMs = form_.host.LoopOut();
  content.waveShown = waveform_.Ready();
  content.thumbnailsDrawn = thumbnailsDrawn_;
  return content;
}

// A picture per entry of the preset it draws, at the entry's middle, as high as the row leaves room for.
void TimelineCanvas::AskForThumbnails(const TimelineGeometry& g) {
  const SceneState& scene = *form_.host.scene;
  const std::vector<TSceneSeqEntry>& entries = form_.host.sequence->SequenceEntries;
  const uint32_t heightPx = static_cast<uint32_t>(std::max(0, RowHeightPx(g) - 4));
  thumbnails_.Keep(static_cast<int>(entries.size()));
  if (heightPx < kMinThumbnailHeightPx || scene.ScenePresets.empty() || scene.PresetCount == 0) return;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    const size_t preset = entries[i].PresetNumber < scene.PresetCount ? entries[i].PresetNumber : 0;
    if (preset >= scene.ScenePresets.size()) continue;
    thumbnails_.Want(i, {scene.ScenePresets[preset], entries[i], form_.host.sequence->ScreenCinemaWidthRatio,
                         heightPx * 16 / 9, heightPx});
  }
  if (thumbnails_.Collect()) ++thumbnailsDrawn_;
}

// The picture is drawn at 0, 0 of the offscreen.
void TimelineCanvas::DrawAxis(const TimelineGeometry& g) {
  const int left = 0, top = 0;
  fl_color(fl_rgb_color(40, 40, 44));
  fl_rectf(left, top, w(), kRowsTopPx);
  // The section loop: a shaded range over axis and rows.
  const std::optional<uint32_t> in = form_.host.LoopIn ? form_.host.LoopIn() : std::nullopt;
  const std::optional<uint32_t> out = form_.host.LoopOut ? form_.host.LoopOut() : std::nullopt;
  if (in && out && *in < *out) {
    const int from = left + int(PixelOfTime(g, *in)), to = left + int(PixelOfTime(g, *out));
    fl_color(fl_rgb_color(70, 70, 40));
    fl_rectf(from, top, std::max(1, to - from), h());
  }
  // Beats, when there is room between them.
  if (form_.bpm) {
    const double stepMs = GridStepMs(form_.bpm);
    if (PixelOfTime(g, stepMs) - PixelOfTime(g, 0) >= 4) {
      fl_color(fl_rgb_color(64, 64, 72));
      for (double t = 0; t <= g.lengthMs; t += stepMs) {
        const int px = left + int(PixelOfTime(g, t));
        fl_line(px, top + kAxisHeightPx, px, top + h());
      }
    }
  }
  // Waveform.
  const std::vector<ColumnPeak>& columns = waveform_.Columns(g);
  const int middle = top + kAxisHeightPx + kWaveHeightPx / 2;
  const float half = kWaveHeightPx / 2.0f - 1;
  fl_color(fl_rgb_color(110, 150, 120));
  for (size_t column = 0; column < columns.size(); ++column) {
    const ColumnPeak& peak = columns[column];
    if (peak.high < peak.low) continue;
    fl_yxline(left + int(column), middle - int(std::lround(peak.high * half)), middle - int(std::lround(peak.low * half)));
  }
  // Ruler.
  fl_color(fl_rgb_color(200, 200, 200));
  fl_font(FL_HELVETICA, kFontSizePx - 1);
  const uint32_t labelStep = LabelStepMs(g);
  for (uint32_t t = 0; t <= g.lengthMs; t += 1000) {
    const int px = left + int(PixelOfTime(g, t));
    const bool labelled = t % labelStep == 0;
    fl_yxline(px, top + kAxisHeightPx - (labelled ? 7 : 3), top + kAxisHeightPx - 1);
    if (labelled) fl_draw((std::to_string(t / 1000) + "s").c_str(), px + 2, top + kAxisHeightPx - 7);
    if (t > g.lengthMs - 1000) break;
  }
}

void TimelineCanvas::DrawBars(const TimelineGeometry& g) {
  const std::vector<TSceneSeqEntry>& entries = form_.host.sequence->SequenceEntries;
  const int rowHeight = RowHeightPx(g);
  const int left0 = 0, top0 = 0;
  fl_font(FL_HELVETICA, std::min<int>(kFontSizePx, rowHeight - 2));
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    const int rowTop = top0 + RowTopPx(g, i);
    if (rowTop > top0 + h()) break;
    if (i == form_.selected) {
      fl_color(fl_rgb_color(52, 52, 60));
      fl_rectf(left0, rowTop, w(), rowHeight);
    }
    const BarSpanPx span = BarSpan(g, entries[i]);
    const int left = left0 + int(span.leftPx), width = std::max(2, int(span.rightPx - span.leftPx));
    fl_color(BarColor(entries[i].PresetNumber));
    fl_rectf(left, rowTop + 1, width, rowHeight - 2);
    const std::string label = EntryLabel(entries[i]);
    fl_push_clip(left, rowTop, width, rowHeight);
    if (const RgbaImage* picture = thumbnails_.Picture(i)) {
      // At the entry's middle, moved right of the label where the bar is short.
      const int middle = left0 + int(PixelOfTime(g, entries[i].StartTime + (double(entries[i].EndTime) - entries[i].StartTime) / 2));
      const int labelEndPx = rowHeight >= 9 ? left + 3 + int(fl_width(label.c_str())) + 3 : left;
      fl_draw_image(picture->rgba.data(), std::max(middle - int(picture->widthPx) / 2, labelEndPx), rowTop + 2,
                    int(picture->widthPx), int(picture->heightPx), 4);
    }
    fl_pop_clip();
    fl_color(i == form_.selected ? FL_WHITE : fl_rgb_color(20, 20, 20));
    fl_rect(left, rowTop + 1, width, rowHeight - 2);
    if (rowHeight >= 9) {
      fl_push_clip(left, rowTop, width, rowHeight);
      fl_color(FL_WHITE);
      fl_draw(label.c_str(), left + 3, rowTop + rowHeight - 4);
      fl_pop_clip();
    }
  }
}

void TimelineCanvas::DrawPicture(const TimelineGeometry& g) {
  fl_color(fl_rgb_color(30, 30, 34));
  fl_rectf(0, 0, w(), h());
  DrawAxis(g);
  DrawBars(g);
}

void TimelineCanvas::draw() {
  FromToolkit([this] { DrawCanvas(); });
}

void TimelineCanvas::DrawCanvas() {
  const TimelineGeometry g = Geometry();
  form_.geometry = g;
  AskForThumbnails(g);
  CanvasContent content = Content();
  if (!picture_ || content.widthPx != drawn_.widthPx || content.heightPx != drawn_.heightPx) {
    if (picture_) fl_delete_offscreen(picture_);
    picture_ = fl_create_offscreen(w(), h());
    drawn_ = {};
  }
  if (!(content == drawn_)) {
    fl_begin_offscreen(picture_);
    DrawPicture(g);
    fl_end_offscreen();
    drawn_ = std::move(content);
  }
  fl_push_clip(x(), y(), w(), h());
  fl_copy_offscreen(x(), y(), w(), h(), picture_, 0, 0);
  const uint32_t nowMs = form_.host.DemoTime ? form_.host.DemoTime() : 0;
  const int cursor = x() + int(PixelOfTime(g, std::min(nowMs, g.lengthMs)));
  fl_color(FL_RED);
  fl_yxline(cursor, y(), y() + h());
  fl_pop_clip();
}

int TimelineCanvas::handle(int event) {
  int used = 0;
  FromToolkit([&] { used = HandleMouse(event); });
  return used;
}

int TimelineCanvas::HandleMouse(int event) {
  form_.geometry = Geometry();
  switch (event) {
    case FL_PUSH: {
      const bool loopDrag = Fl::event_button() == FL_RIGHT_MOUSE || (Fl::event_state() & FL_SHIFT);
      // The focus first: a field left with a typed value stores it into the entry it belongs to
      // before the click selects another one.
      if (Fl::focus() != this) take_focus();
      PressAt(form_, Fl::event_x() - x(), Fl::event_y() - y(), loopDrag);
      changed_();
      return 1;
    }
    case FL_DRAG:
      DragTo(form_, Fl::event_x() - x(), Fl::event_y() - y());
      changed_();
      return 1;
    case FL_RELEASE:
      Release(form_);
      changed_();
      return 1;
    case FL_FOCUS:
    case FL_UNFOCUS: return 1;
    default: return Fl_Widget::handle(event);
  }
}

class TimelineWindow : public Fl_Double_Window {
 public:
  TimelineWindow(TimelineHost& host, int x, int y, int w, int h);
  TimelineForm& Form() { return form_; }
  int handle(int event) override;  // through the toolkit guard
  void SyncView();
  void Frame() { SyncView(); }

 private:
  template <typename Widget>
  void On(Widget* widget, std::function<void()> action);
  int HandleKeys(int event);  // 1 when the window used the key
  void FinishTyping();        // the focused field's text counts as finished (stored when valid)
  void AddStatusLine(int xPx, int yPx);
  void SyncTitleAndStatus();

  TimelineForm form_;
  std::deque<std::function<void()>> actions_;
  FieldInput* fields_[kTimelineFieldCount] = {};
  Fl_Check_Button* preview_ = nullptr;
  Fl_Box* status_ = nullptr;
  TimelineCanvas* canvas_ = nullptr;
};

template <typename Widget>
void TimelineWindow::On(Widget* widget, std::function<void()> action) {
  actions_.push_back([this, action = std::move(action)] {
    FromToolkit([&] {
      action();
      SyncView();
    });
  });
  widget->callback([](Fl_Widget*, void* data) { (*static_cast<std::function<void()>*>(data))(); }, &actions_.back());
}

TimelineWindow::TimelineWindow(TimelineHost& host, int x, int y, int w, int h)
    : Fl_Double_Window(x, y, w, h, kTimelineCaption), form_(host) {
  xclass(kTimelineWindowClass);
  SetUpTimeline(form_);
  int px = 4;
  for (int i = 0; i < kTimelineFieldCount; ++i) {
    Fl_Box* caption = new Fl_Box(px, kFieldRowYPx, kFieldCaptionPx, kControlHeightPx, kTimelineFieldCaptions[i]);
    caption->labelsize(kFontSizePx);
    caption->align(FL_ALIGN_RIGHT | FL_ALIGN_INSIDE);
    FieldInput* field = new FieldInput(px + kFieldCaptionPx + 2, kFieldRowYPx, kFieldWidthPx, kControlHeightPx);
    field->textsize(kFontSizePx);
    field->when(FL_WHEN_CHANGED);
    const auto which = static_cast<TimelineField>(i);
    On(field, [this, field, which] { TypeTimelineText(form_, which, field->value()); });
    field->onFinish = [this, which] {
      FinishTimelineText(form_, which);
      SyncView();
    };
    fields_[i] = field;
    px += kFieldCaptionPx + kFieldWidthPx + 8;
  }
  px = 4;
  for (int i = 0; i < 6; ++i) {
    const int width = i == 5 ? 100 : 44;
    Fl_Button* button = new Fl_Button(px, kButtonRowYPx, width, kControlHeightPx, kTimelineButtonCaptions[i]);
    button->labelsize(kFontSizePx);
    const auto which = static_cast<TimelineButton>(i);
    On(button, [this, which] { ClickTimelineButton(form_, which); });
    px += width + 4;
  }
  preview_ = new Fl_Check_Button(px + 8, kButtonRowYPx, 130, kControlHeightPx, kPreviewCaption);
  preview_->labelsize(kFontSizePx);
  On(preview_, [this] { SwitchPreview(form_, preview_->value() != 0); });
  AddStatusLine(px + 8 + 130 + 8, kButtonRowYPx);

  canvas_ = new TimelineCanvas(0, kCanvasTopPx, w, h - kCanvasTopPx, form_, [this] { SyncView(); });
  resizable(canvas_);
  end();
  callback([](Fl_Widget* window, void*) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;  // Escape keeps the window
    FromToolkit([window] { window->hide(); });  // F2 shows it again
  });
  SyncView();
}

int TimelineWindow::handle(int event) {
  int used = 0;
  FromToolkit([&] { used = HandleKeys(event); });
  return used ? used : Fl_Double_Window::handle(event);
}

int TimelineWindow::HandleKeys(int event) {
  if (event != FL_KEYBOARD && event != FL_SHORTCUT) return 0;
  const int key = Fl::event_key();
  if (key == FL_Delete && Fl::focus() == canvas_) {
    ClickTimelineButton(form_, TimelineButton::Delete);
    SyncView();
    return 1;
  }
  const std::optional<DevCommand> command =
      DevCommandOfKey(key, Fl::event_state() & FL_CTRL, Fl::event_state() & FL_SHIFT);
  if (!command) return 0;
  if (*command == DevCommand::Quit) FinishTyping();
  if (form_.host.RunDevCommand) form_.host.RunDevCommand(*command);
  SyncView();
  return 1;
}

void TimelineWindow::FinishTyping() {
  for (int i = 0; i < kTimelineFieldCount; ++i)
    if (Fl::focus() == fields_[i]) FinishTimelineText(form_, static_cast<TimelineField>(i));
}

// The status line right of the buttons: what is saved and what is not.
void TimelineWindow::AddStatusLine(int xPx, int yPx) {
  status_ = new Fl_Box(xPx, yPx, std::max(0, w() - xPx - 4), kControlHeightPx);
  status_->labelsize(kFontSizePx);
  status_->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
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
    const bool enabled = i >= kEntryFieldCount || form_.selected >= 0;
    if (enabled && !field->active()) field->activate();
    if (!enabled && field->active()) field->deactivate();
  }
  if ((preview_->value() != 0) != form_.preview) preview_->value(form_.preview ? 1 : 0);
  SyncTitleAndStatus();
  canvas_->redraw();
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

void RefreshTimelineWindow(TimelineWindow& window) { window.SyncView(); }
