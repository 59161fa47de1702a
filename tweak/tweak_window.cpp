// Convention: widget positions are window coordinates in pixels; the controls of a group box are placed
// at the group box's corner plus their own offset, as the layout table gives them.
#include "tweak/tweak_window.h"

// Our headers before FLTK's: X11 defines macros such as Bool, None and Button1.
#include "widgets/field_input.h"
#include "tweak/logo.h"
#include "engine/toolkit_guard.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>

namespace {

constexpr int kWindowX = 511, kWindowY = 0;  // until the program places it beside the output window
constexpr int kNoticeTopPx = 559;  // the notice line under the controls
constexpr Fl_Fontsize kFontSizePx = 11;      // 8 points
constexpr Fl_Font kVerdana = FL_FREE_FONT;
// The window's 8-point sans serif: a condensed face keeps the captions within the narrow layout.
constexpr Fl_Font kSans = FL_FREE_FONT + 1;
constexpr const char* kWindowClass = "quarnel-tweak";

// A group box: an engraved frame with its caption over the top line. Draws no background, so the
// controls inside it stay visible whichever is drawn first.
class GroupFrame : public Fl_Widget {
 public:
  GroupFrame(int x, int y, int w, int h, const char* caption) : Fl_Widget(x, y, w, h) {
    copy_label(caption);
    labelfont(kSans);
    labelsize(kFontSizePx);
  }
  void draw() override {
    fl_draw_box(FL_ENGRAVED_FRAME, x(), y() + 6, w(), h() - 6, color());
    fl_font(labelfont(), labelsize());
    const int textWidth = static_cast<int>(fl_width(label()));
    fl_color(parent()->color());
    fl_rectf(x() + 6, y(), textWidth + 4, 13);
    fl_color(labelcolor());
    fl_draw(label(), x() + 8, y() + fl_height() - fl_descent());
  }
};

// The time bar's fine steps: dragged with Shift held, the thumb moves this many ms per pixel.
constexpr int kFineMsPerPx = 10;

// A drop-down list whose items are shown as plain text ("/" and "&" in them are not menu syntax).
class ListChoice : public Fl_Choice {
 public:
  using Fl_Choice::Fl_Choice;
  void SetItems(const std::vector<std::string>& items) {
    if (items == texts_) return;
    texts_ = items;
    menu_.assign(texts_.size() + 1, Fl_Menu_Item{});
    for (size_t i = 0; i < texts_.size(); ++i) {
      menu_[i].text = texts_[i].c_str();
      menu_[i].labelfont_ = textfont();
      menu_[i].labelsize_ = textsize();
    }
    menu(menu_.data());
  }

 private:
  std::vector<std::string> texts_;
  std::vector<Fl_Menu_Item> menu_;
};

// A horizontal scroll bar whose thumb, dragged with Shift held, moves kFineMsPerPx per pixel from
// where the drag (or the Shift) began, for exact positions on a long range.
class FineScrollbar : public Fl_Scrollbar {
 public:
  using Fl_Scrollbar::Fl_Scrollbar;
  int handle(int event) override {
    const bool fine = (Fl::event_state() & FL_SHIFT) != 0;
    if (event == FL_PUSH || (event == FL_DRAG && fine && !fineDrag_)) {
      fineDrag_ = fine;
      anchorX_ = Fl::event_x();
      anchorValue_ = value();
    }
    if (event == FL_DRAG && fine) {
      const double moved = anchorValue_ + (Fl::event_x() - anchorX_) * static_cast<double>(kFineMsPerPx);
      value(clamp(moved));
      do_callback();
      return 1;
    }
    if (event == FL_DRAG) fineDrag_ = false;
    return Fl_Scrollbar::handle(event);
  }

 private:
  bool fineDrag_ = false;
  int anchorX_ = 0;
  double anchorValue_ = 0;
};

std::optional<std::string> ChooseFile(const std::string& title) {
  Fl::option(Fl::OPTION_FNFC_USES_GTK, false);  // FLTK's own chooser keeps the frame loop running
  Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_FILE);
  chooser.title(title.c_str());
  if (chooser.show() != 0 || !chooser.filename() || !*chooser.filename()) return std::nullopt;
  return std::string(chooser.filename());
}

void SetActive(Fl_Widget* widget, bool enabled) {
  if (enabled && !widget->active()) widget->activate();
  if (!enabled && widget->active()) widget->deactivate();
}

void SetText(Fl_Input* input, const EditField& field) {
  if (std::strcmp(input->value(), field.text.c_str()) != 0) input->value(field.text.c_str());
  SetActive(input, field.enabled);
}

// Gives widget the label text unless it has it already; true when it changed. A template, so that a
// window's own copy_label (its title) is the one called.
template <class Widget>
bool SetLabel(Widget& widget, const std::string& text) {
  if (std::strcmp(widget.label() ? widget.label() : "", text.c_str()) == 0) return false;
  widget.copy_label(text.c_str());
  return true;
}

}  // namespace

class TForm2 : public Fl_Double_Window {
 public:
  explicit TForm2(TweakHost& host);
  TweakForm& Form() { return form_; }
  int handle(int event) override;
  int HandleKeys(int event);  // 1 when the window used the key
  void SyncView();
  // The close box hides the window for the rest of the run, as Escape does.
  void Close() {
    form_.controls.visible = false;
    SyncView();
  }
  // F2 over the output window: the window shows again.
  void Reopen() {
    form_.controls.visible = true;
    SyncView();
  }

 private:
  // Runs a user action; the next frame mirrors the model back into the widgets.
  void On(Fl_Widget* widget, std::function<void()> action);
  Fl_Box* Label(int x, int y, const char* text, Fl_Font font = kSans);
  Fl_Button* Button(int x, int y, int w, int h, const char* caption, TweakButton button);
  Fl_Check_Button* CheckBox(int x, int y, int w, int h, const char* caption, bool TweakControls::*box);
  FieldInput* Field(int x, int y, int w, int h, TweakField field, Fl_Font font = kSans);
  Fl_Scrollbar* Bar(int x, int y, int w, int h, TweakScrollBar bar);
  ListChoice* Choice(int x, int y, int w, int h, TweakList list);

  TweakForm form_;
  bool syncedVisible_ = false;  // the model's visibility the window last followed
  std::deque<std::function<void()>> actions_;
  std::vector<uint8_t> logoPixels_;
  std::unique_ptr<Fl_RGB_Image> logo_;

  Fl_Box* info_ = nullptr;
  Fl_Box* notice_ = nullptr;
  Fl_Box* possibilityValue_ = nullptr;
  Fl_Hold_Browser* ListBox1 = nullptr;
  ListChoice* OscFormular = nullptr;
  FieldInput* Osc1 = nullptr;
  FieldInput* Osc2 = nullptr;
  FieldInput* BaseVal = nullptr;
  Fl_Button* BaseValUp = nullptr;
  Fl_Button* BaseValDown = nullptr;
  std::vector<std::pair<Fl_Check_Button*, bool TweakControls::*>> checkBoxes_;
  Fl_Scrollbar* Possibility = nullptr;
  Fl_Scrollbar* TimeScale = nullptr;
  Fl_Button* TimeReset = nullptr;
  FieldInput* ScenePresetPath = nullptr;
  FieldInput* ScenePresetFile = nullptr;
  ListChoice* PresetList = nullptr;
};

TForm2::TForm2(TweakHost& host)
    : Fl_Double_Window(kWindowX, kWindowY, kTweakWindowWidthPx, kTweakWindowHeightPx), form_(host) {
  Fl::set_font(kVerdana, " Verdana");
  Fl::set_font(kSans, " DejaVu Sans Condensed");
  form_.OpenDialog1 = ChooseFile;
  xclass(kWindowClass);
  copy_label(form_.controls.caption.c_str());
  labelsize(kFontSizePx);
  callback([](Fl_Widget*, void* self) { FromToolkit([self] { static_cast<TForm2*>(self)->Close(); }); }, this);

  // Group frames first: they draw behind the controls they hold.
  new GroupFrame(108, 0, 173, 81, "info");
  new GroupFrame(4, 236, 277, 93, "tweaking");
  new GroupFrame(4, 332, 277, 57, "randomize");
  new GroupFrame(4, 392, 277, 45, "running timing");
  new GroupFrame(4, 440, 277, 89, "file operations");

  logoPixels_ = LogoPixelsWithAlpha();
  logo_ = std::make_unique<Fl_RGB_Image>(logoPixels_.data(), kLogoWidthPx, kLogoHeightPx, 4);
  Fl_Box* Image1 = new Fl_Box(0, 4, 101, 77);
  Image1->image(logo_.get());
  Image1->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);

  info_ = new Fl_Box(108 + 8, 0 + 16, 157, 62);
  info_->labelfont(kVerdana);
  info_->labelsize(kFontSizePx);
  info_->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);

  ListBox1 = new Fl_Hold_Browser(4, 88, 245, 147);
  ListBox1->textfont(kVerdana);
  ListBox1->textsize(kFontSizePx);
  ListBox1->when(FL_WHEN_CHANGED);
  On(ListBox1, [this] { SelectItem(form_, TweakList::ListBox1, ListBox1->value() - 1); });

  Button(256, 92, 25, 33, "first", TweakButton::FirstParam);
  Button(256, 128, 25, 29, "last", TweakButton::LastParam);
  Button(256, 168, 25, 29, "up", TweakButton::PrevParamPage);
  Button(256, 200, 25, 29, "dn", TweakButton::NextParamPage);

  // "tweaking" at 4, 236
  // The label's face runs wider than the original's: the list starts a little further right.
  Label(4 + 8, 236 + 20, "osc formular:");
  OscFormular = Choice(4 + 80, 236 + 16, 185, 21, TweakList::OscFormular);
  Label(4 + 8, 236 + 44, "osc value 1:");
  Osc1 = Field(4 + 72, 236 + 40, 61, 21, TweakField::Osc1);
  Label(4 + 8, 236 + 68, "osc value 2:");
  Osc2 = Field(4 + 72, 236 + 64, 61, 21, TweakField::Osc2);
  Label(4 + 172, 236 + 48, "base:");
  BaseVal = Field(4 + 204, 236 + 44, 61, 21, TweakField::BaseVal);
  BaseValUp = Button(4 + 164, 236 + 68, 49, 17, "add", TweakButton::BaseValUp);
  BaseValDown = Button(4 + 216, 236 + 68, 49, 17, "sub", TweakButton::BaseValDown);

  // "randomize" at 4, 332
  CheckBox(4 + 12, 332 + 16, 37, 17, "fog", &TweakControls::RandFog);
  CheckBox(4 + 52, 332 + 16, 45, 17, "blend", &TweakControls::RandBlend);
  CheckBox(4 + 52, 332 + 32, 45, 17, "sprite", &TweakControls::RandSprite);
  CheckBox(4 + 104, 332 + 16, 45, 17, "r2t", &TweakControls::RandR2T);
  CheckBox(4 + 104, 332 + 32, 41, 17, "part", &TweakControls::RandPointsprites);
  CheckBox(4 + 144, 332 + 16, 41, 17, "cam", &TweakControls::RandCamera);
  CheckBox(4 + 144, 332 + 32, 41, 17, "obj", &TweakControls::RandObject);
  // The chance in percent, shown beside its bar.
  Possibility = Bar(4 + 192, 332 + 16, 49, 13, TweakScrollBar::Possibility);
  possibilityValue_ = Label(4 + 244, 332 + 16, "99%");
  Button(4 + 236, 332 + 32, 29, 17, "var", TweakButton::Var);
  CheckBox(16, 364, 37, 17, "osc", &TweakControls::RandOsc);
  Button(196, 364, 41, 17, "rand", TweakButton::Rand);

  // "running timing" at 4, 392
  TimeScale = Bar(16, 412, 149, 13, TweakScrollBar::TimeScale);
  TimeReset = Button(4 + 164, 392 + 16, 101, 17, "", TweakButton::TimeReset);

  // "file operations" at 4, 440
  Label(4 + 10, 440 + 20, "file:");
  ScenePresetPath = Field(36, 456, 169, 21, TweakField::ScenePresetPath, kVerdana);
  ScenePresetFile = Field(4 + 204, 440 + 16, 61, 21, TweakField::ScenePresetFile);
  Label(4 + 8, 440 + 44, "set:");
  PresetList = Choice(36, 480, 89, 21, TweakList::PresetList);
  CheckBox(4 + 128, 440 + 44, 137, 13, "auto refresh after saving", &TweakControls::Scene1PresetRefresh);
  Button(4 + 200, 440 + 64, 65, 17, "search", TweakButton::Search);
  Button(36, 504, 56, 17, "load", TweakButton::Load);
  Fl_Button* save = Button(94, 504, 44, 17, "save", TweakButton::Save);
  Fl_Button* saveAsNew = Button(140, 504, 61, 17, "save as new", TweakButton::SaveAsNew);
  if (form_.host.readOnly) {  // the installed demo
    save->deactivate();
    saveAsNew->deactivate();
  }

  Button(4, 536, 277, 21, "outta here", TweakButton::OuttaHere);
  notice_ = new Fl_Box(4, kNoticeTopPx, 277, kTweakWindowHeightPx - kNoticeTopPx);
  notice_->labelfont(kSans);
  notice_->labelsize(kFontSizePx - 1);
  notice_->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  end();
  SyncView();
}

void TForm2::On(Fl_Widget* widget, std::function<void()> action) {
  actions_.push_back([this, action = std::move(action)] {
    FromToolkit([&] {
      action();
      form_.changed = true;
    });
  });
  auto run = [](Fl_Widget*, void* data) { (*static_cast<std::function<void()>*>(data))(); };
  widget->callback(run, &actions_.back());
}

Fl_Box* TForm2::Label(int x, int y, const char* text, Fl_Font font) {
  fl_font(font, kFontSizePx);
  int w = 0, h = 0;
  fl_measure(text, w, h);
  Fl_Box* box = new Fl_Box(x, y, w, h, text);
  box->labelfont(font);
  box->labelsize(kFontSizePx);
  box->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
  return box;
}

Fl_Button* TForm2::Button(int x, int y, int w, int h, const char* caption, TweakButton button) {
  Fl_Button* widget = new Fl_Button(x, y, w, h, caption);
  widget->labelfont(kSans);
  widget->labelsize(kFontSizePx);
  On(widget, [this, button] { ClickButton(form_, button); });
  return widget;
}

Fl_Check_Button* TForm2::CheckBox(int x, int y, int w, int h, const char* caption, bool TweakControls::*box) {
  Fl_Check_Button* widget = new Fl_Check_Button(x, y, w, h, caption);
  widget->labelfont(kSans);
  widget->labelsize(kFontSizePx);
  On(widget, [this, widget, box] { form_.controls.*box = widget->value() != 0; });
  checkBoxes_.emplace_back(widget, box);
  return widget;
}

FieldInput* TForm2::Field(int x, int y, int w, int h, TweakField field, Fl_Font font) {
  FieldInput* widget = new FieldInput(x, y, w, h);
  widget->textfont(font);
  widget->textsize(kFontSizePx);
  widget->when(FL_WHEN_CHANGED);
  On(widget, [this, widget, field] { TypeText(form_, field, widget->value()); });
  widget->onFinish = [this, field] {  // run through the toolkit guard by FieldInput
    FinishText(form_, field);
    form_.changed = true;
  };
  return widget;
}

Fl_Scrollbar* TForm2::Bar(int x, int y, int w, int h, TweakScrollBar bar) {
  Fl_Scrollbar* widget = new FineScrollbar(x, y, w, h);
  widget->type(FL_HORIZONTAL);
  widget->linesize(1);
  widget->when(FL_WHEN_CHANGED);
  On(widget, [this, widget, bar] { MoveScrollBar(form_, bar, static_cast<int>(widget->value())); });
  return widget;
}

ListChoice* TForm2::Choice(int x, int y, int w, int h, TweakList list) {
  ListChoice* widget = new ListChoice(x, y, w, h);
  widget->textfont(kVerdana);
  widget->textsize(kFontSizePx);
  widget->when(FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED);
  On(widget, [this, widget, list] { SelectItem(form_, list, widget->value()); });
  return widget;
}

int TForm2::handle(int event) {
  int used = 0;
  FromToolkit([&] { used = HandleKeys(event); });
  return used ? used : Fl_Double_Window::handle(event);
}

int TForm2::HandleKeys(int event) {
  // Keys reach the window when no control used them; the controls use neither Escape nor F10.
  if (event == FL_KEYBOARD || event == FL_SHORTCUT) {
    const int key = Fl::event_key();
    if (key == FL_Escape) {
      PressKey(form_, kKeyEscape);
      form_.changed = true;
      return 1;
    }
    return form_.host.Key && form_.host.Key(key, Fl::event_state() & FL_CTRL, Fl::event_state() & FL_SHIFT);
  }
  return 0;
}

void TForm2::SyncView() {
  form_.changed = false;
  const TweakControls& c = form_.controls;
  SetLabel(*this, c.caption);
  if (SetLabel(*info_, c.info)) {
    // Four lines fill the box; the fifth (the section loop) fits in a smaller size.
    const bool fiveLines = std::count(c.info.begin(), c.info.end(), '\n') >= 4;
    info_->labelsize(fiveLines ? kFontSizePx - 2 : kFontSizePx);
    redraw();
  }
  SetLabel(*notice_, c.notice);
  SetLabel(*possibilityValue_, std::to_string(c.Possibility.position) + "%");

  if (ListBox1->size() != static_cast<int>(c.ListBox1.items.size())) {
    ListBox1->clear();
    for (const std::string& item : c.ListBox1.items) ListBox1->add(item.c_str());
  }
  if (ListBox1->value() != c.ListBox1.selected + 1) {
    ListBox1->value(c.ListBox1.selected + 1);
    if (c.ListBox1.selected >= 0 && !ListBox1->displayed(c.ListBox1.selected + 1))
      ListBox1->middleline(c.ListBox1.selected + 1);
  }

  OscFormular->SetItems(c.OscFormular.items);
  if (OscFormular->value() != c.OscFormular.selected) OscFormular->value(c.OscFormular.selected);
  SetActive(OscFormular, c.OscFormular.enabled);
  SetText(Osc1, c.Osc1);
  SetText(Osc2, c.Osc2);
  SetText(BaseVal, c.BaseVal);
  SetActive(BaseValUp, c.BaseValUpEnabled);
  SetActive(BaseValDown, c.BaseValDownEnabled);

  for (auto& [widget, box] : checkBoxes_)
    if ((widget->value() != 0) != c.*box) widget->value(c.*box ? 1 : 0);
  for (auto [widget, model] : {std::pair{Possibility, &c.Possibility}, std::pair{TimeScale, &c.TimeScale}}) {
    if (widget->minimum() != model->minimum || widget->maximum() != model->maximum) {
      widget->bounds(model->minimum, model->maximum);
      // A page step of 1, like the arrows: FLTK derives the page from the thumb's share of the range.
      widget->slider_size(1.0 / (model->maximum - model->minimum + 1.0));
    }
    if (widget->value() != model->position) widget->value(model->position);
  }
  SetLabel(*TimeReset, c.TimeResetCaption);

  SetText(ScenePresetPath, c.ScenePresetPath);
  // A path longer than the field shows whole in the tooltip.
  const char* pathTip = ScenePresetPath->tooltip();
  if (!pathTip || c.ScenePresetPath.text != pathTip) ScenePresetPath->copy_tooltip(c.ScenePresetPath.text.c_str());
  SetText(ScenePresetFile, c.ScenePresetFile);
  PresetList->SetItems(c.PresetList.items);
  if (PresetList->value() != c.PresetList.selected) PresetList->value(c.PresetList.selected);

  // Only a change of the model shows or hides the window, so that the program may hide it on its own
  // (ShutdownDemo hiding every window, say) without the next event showing it again.
  if (c.visible != syncedVisible_) {
    syncedVisible_ = c.visible;
    if (c.visible) show();
    else hide();
  }
  redraw();
}

void DeleteTweakWindow::operator()(TForm2* window) const { delete window; }

TweakWindowPtr OpenTweakWindow(TweakHost& host) {
  if (!host.ShowMessage) host.ShowMessage = [](const std::string& text) { fl_message("%s", text.c_str()); };
  TweakWindowPtr window(new TForm2(host));
  TweakForm& form = window->Form();
  FormCreate(form);
  window->SyncView();
  return window;
}

TweakForm& ModelOf(TForm2& window) { return window.Form(); }

Fl_Window& TweakWindowOf(TForm2& window) { return window; }

void PlaceTweakWindow(TForm2& window, int xPx, int yPx) { window.position(xPx, yPx); }

void ReopenTweakWindow(TForm2& window) { window.Reopen(); }

void SyncTweakWindow(TForm2& window) {
  if (window.Form().changed) window.SyncView();
}
