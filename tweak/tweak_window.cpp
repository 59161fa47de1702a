// Widget positions come from the layout table (tweak/tweak_layout.h), in window pixels.
#include "tweak/tweak_window.h"

// Our headers before FLTK's: X11 defines macros such as Bool, None and Button1.
#include "widgets/field_input.h"
#include "tweak/logo.h"
#include "tweak/tweak_layout.h"
#include "engine/toolkit_guard.h"
#include "tweak/controller_events.h"
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
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Slider.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>

namespace {

constexpr int kWindowX = 511, kWindowY = 0;  // until the program places it beside the output window
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

// A drop-down list or menu whose items are shown as plain text ("/" and "&" in them are not menu syntax).
template <class Menu>
class PlainTextMenu : public Menu {
 public:
  using Menu::Menu;
  void SetItems(const std::vector<std::string>& items) {
    if (items == texts_) return;
    texts_ = items;
    menu_.assign(texts_.size() + 1, Fl_Menu_Item{});
    for (size_t i = 0; i < texts_.size(); ++i) {
      menu_[i].text = texts_[i].c_str();
      menu_[i].labelfont_ = this->textfont();
      menu_[i].labelsize_ = this->textsize();
    }
    this->menu(menu_.data());
  }

 private:
  std::vector<std::string> texts_;
  std::vector<Fl_Menu_Item> menu_;
};
using ListChoice = PlainTextMenu<Fl_Choice>;
using ListMenu = PlainTextMenu<Fl_Menu_Button>;

constexpr Fl_Color kMappedFieldColor = 0xFFF3C000;  // light amber: a controller moves this value

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

class TweakWindow : public Fl_Double_Window {
 public:
  explicit TweakWindow(TweakHost& host);
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
  void Frame(const TweakRectPx& at, const char* caption);
  Fl_Box* Label(const TweakPointPx& at, const char* text, Fl_Font font = kSans);
  Fl_Button* Button(const TweakRectPx& at, const char* caption, TweakButton button);
  Fl_Check_Button* CheckBox(const TweakRectPx& at, const char* caption, bool TweakControls::*box);
  FieldInput* Field(const TweakRectPx& at, TweakField field, Fl_Font font = kSans);
  Fl_Scrollbar* Bar(const TweakRectPx& at, TweakScrollBar bar);
  ListChoice* Choice(const TweakRectPx& at, TweakList list);
  void AddControllersGroup(const TweakLayout& at);
  void SyncControllers();
  void TouchAt(int xPx, int yPx);  // learn: the field or slider under a click

  TweakForm form_;
  bool syncedVisible_ = false;  // the model's visibility the window last followed
  std::deque<std::function<void()>> actions_;
  std::vector<uint8_t> logoPixels_;
  std::unique_ptr<Fl_RGB_Image> logo_;

  Fl_Box* info_ = nullptr;
  Fl_Box* notice_ = nullptr;
  Fl_Box* possibilityValue_ = nullptr;
  Fl_Hold_Browser* ParamList = nullptr;
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
  Fl_Check_Button* rec_ = nullptr;
  ListChoice* morphPreset_ = nullptr;
  Fl_Slider* morph_ = nullptr;
  Fl_Check_Button* learn_ = nullptr;
  ListMenu* mappings_ = nullptr;
  ListMenu* learnButton_ = nullptr;
  Fl_Color timeScaleColor_ = FL_BACKGROUND_COLOR;  // the sliders' own, when no controller moves them
};

TweakWindow::TweakWindow(TweakHost& host)
    : Fl_Double_Window(kWindowX, kWindowY, kTweakWindowWidthPx, kTweakWindowHeightPx), form_(host) {
  Fl::set_font(kVerdana, " Verdana");
  Fl::set_font(kSans, " DejaVu Sans Condensed");
  form_.OpenFileDialog = ChooseFile;
  xclass(kWindowClass);
  copy_label(form_.controls.caption.c_str());
  labelsize(kFontSizePx);
  callback([](Fl_Widget*, void* self) { FromToolkit([self] { static_cast<TweakWindow*>(self)->Close(); }); }, this);

  const TweakLayout& at = kTweakLayout;
  // Group frames first: they draw behind the controls they hold.
  Frame(at.infoGroup, "info");
  Frame(at.tweakingGroup, "tweaking");
  Frame(at.randomizeGroup, "randomize");
  Frame(at.timingGroup, "running timing");
  Frame(at.fileGroup, "file operations");
  Frame(at.automationGroup, "automation");

  logoPixels_ = LogoPixelsWithAlpha();
  logo_ = std::make_unique<Fl_RGB_Image>(logoPixels_.data(), kLogoWidthPx, kLogoHeightPx, 4);
  Fl_Box* logoBox = new Fl_Box(at.logo.xPx, at.logo.yPx, at.logo.widthPx, at.logo.heightPx);
  logoBox->image(logo_.get());
  logoBox->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);

  info_ = new Fl_Box(at.info.xPx, at.info.yPx, at.info.widthPx, at.info.heightPx);
  info_->labelfont(kVerdana);
  info_->labelsize(kFontSizePx);
  info_->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);

  ParamList = new Fl_Hold_Browser(at.paramList.xPx, at.paramList.yPx, at.paramList.widthPx, at.paramList.heightPx);
  ParamList->textfont(kVerdana);
  ParamList->textsize(kFontSizePx);
  ParamList->when(FL_WHEN_CHANGED);
  On(ParamList, [this] { SelectItem(form_, TweakList::ParamList, ParamList->value() - 1); });

  Button(at.firstParam, "first", TweakButton::FirstParam);
  Button(at.lastParam, "last", TweakButton::LastParam);
  Button(at.prevParamPage, "up", TweakButton::PrevParamPage);
  Button(at.nextParamPage, "dn", TweakButton::NextParamPage);

  Label(at.oscFormularCaption, "osc formular:");
  OscFormular = Choice(at.oscFormular, TweakList::OscFormular);
  Label(at.osc1Caption, "osc value 1:");
  Osc1 = Field(at.osc1, TweakField::Osc1);
  Label(at.osc2Caption, "osc value 2:");
  Osc2 = Field(at.osc2, TweakField::Osc2);
  Label(at.baseValCaption, "base:");
  BaseVal = Field(at.baseVal, TweakField::BaseVal);
  BaseValUp = Button(at.baseValUp, "add", TweakButton::BaseValUp);
  BaseValDown = Button(at.baseValDown, "sub", TweakButton::BaseValDown);

  CheckBox(at.randFog, "fog", &TweakControls::RandFog);
  CheckBox(at.randBlend, "blend", &TweakControls::RandBlend);
  CheckBox(at.randSprite, "sprite", &TweakControls::RandSprite);
  CheckBox(at.randR2T, "r2t", &TweakControls::RandR2T);
  CheckBox(at.randPointsprites, "part", &TweakControls::RandPointsprites);
  CheckBox(at.randCamera, "cam", &TweakControls::RandCamera);
  CheckBox(at.randObject, "obj", &TweakControls::RandObject);
  Possibility = Bar(at.possibility, TweakScrollBar::Possibility);
  possibilityValue_ = Label(at.possibilityValue, "99%");
  Button(at.var, "var", TweakButton::Var);
  CheckBox(at.randOsc, "osc", &TweakControls::RandOsc);
  Button(at.rand, "rand", TweakButton::Rand);

  TimeScale = Bar(at.timeScale, TweakScrollBar::TimeScale);
  TimeReset = Button(at.timeReset, "", TweakButton::TimeReset);

  Label(at.fileCaption, "file:");
  ScenePresetPath = Field(at.presetPath, TweakField::ScenePresetPath, kVerdana);
  ScenePresetFile = Field(at.presetFile, TweakField::ScenePresetFile);
  Label(at.setCaption, "set:");
  PresetList = Choice(at.presetList, TweakList::PresetList);
  CheckBox(at.refreshAfterSave, "auto refresh after saving", &TweakControls::RefreshAfterSave);
  Button(at.search, "search", TweakButton::Search);
  Button(at.load, "load", TweakButton::Load);
  Fl_Button* save = Button(at.save, "save", TweakButton::Save);
  Fl_Button* saveAsNew = Button(at.saveAsNew, "save as new", TweakButton::SaveAsNew);
  if (form_.host.readOnly) {  // the installed demo
    save->deactivate();
    saveAsNew->deactivate();
  }

  rec_ = new Fl_Check_Button(at.rec.xPx, at.rec.yPx, at.rec.widthPx, at.rec.heightPx, "rec");
  rec_->labelfont(kSans);
  rec_->labelsize(kFontSizePx);
  On(rec_, [this] { SwitchRecording(form_, rec_->value() != 0); });
  Label(at.morphCaption, "morph:");
  morphPreset_ = Choice(at.morphPreset, TweakList::MorphPreset);
  morph_ = new Fl_Slider(at.morph.xPx, at.morph.yPx, at.morph.widthPx, at.morph.heightPx);
  morph_->type(FL_HOR_NICE_SLIDER);
  morph_->bounds(form_.controls.Morph.minimum, form_.controls.Morph.maximum);
  morph_->step(1);
  morph_->when(FL_WHEN_CHANGED | FL_WHEN_RELEASE_ALWAYS);
  // Letting the slider go ends the gesture; every other change moves it.
  On(morph_, [this] {
    if (Fl::event() == FL_RELEASE) EndMorph(form_);
    else MoveMorph(form_, static_cast<int>(morph_->value()));
  });

  Button(at.outtaHere, "outta here", TweakButton::OuttaHere);
  notice_ = new Fl_Box(at.notice.xPx, at.notice.yPx, at.notice.widthPx, at.notice.heightPx);
  notice_->labelfont(kSans);
  notice_->labelsize(kFontSizePx - 1);
  notice_->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
  AddControllersGroup(at);
  end();
  SyncView();
}

// "controllers": the learn switch, the mappings (a pick removes one), and a button to learn a note for.
void TweakWindow::AddControllersGroup(const TweakLayout& at) {
  Frame(at.controllersGroup, "controllers");
  timeScaleColor_ = TimeScale->color();
  learn_ = new Fl_Check_Button(at.learn.xPx, at.learn.yPx, at.learn.widthPx, at.learn.heightPx, "learn");
  learn_->labelfont(kSans);
  learn_->labelsize(kFontSizePx);
  On(learn_, [this] { SetLearning(form_, learn_->value() != 0); });
  const auto menu = [this](const TweakRectPx& rect, const char* caption, const char* tip) {
    ListMenu* widget = new ListMenu(rect.xPx, rect.yPx, rect.widthPx, rect.heightPx, caption);
    widget->labelfont(kSans);
    widget->labelsize(kFontSizePx);
    widget->textfont(kVerdana);
    widget->textsize(kFontSizePx);
    widget->tooltip(tip);
    return widget;
  };
  mappings_ = menu(at.mappings, "mappings", "the controls mapped: pick one to remove it");
  On(mappings_, [this] { RemoveMappingItem(form_, static_cast<size_t>(mappings_->value())); });
  learnButton_ = menu(at.learnButton, "learn button", "pick a button, then press a note or a controller's button");
  On(learnButton_, [this] { ArmButton(form_, static_cast<size_t>(learnButton_->value())); });
}

void TweakWindow::TouchAt(int xPx, int yPx) {
  const auto inside = [xPx, yPx](const Fl_Widget* widget) {
    return widget->active() && xPx >= widget->x() && xPx < widget->x() + widget->w() && yPx >= widget->y() &&
           yPx < widget->y() + widget->h();
  };
  for (auto [widget, field] :
       {std::pair{BaseVal, TweakField::BaseVal}, std::pair{Osc1, TweakField::Osc1}, std::pair{Osc2, TweakField::Osc2}})
    if (inside(widget)) TouchField(form_, field);
  if (inside(TimeScale)) TouchTimeSlider(form_);
  if (inside(morph_)) TouchMorphSlider(form_);
}

// The controllers group follows the mappings; a mapped field or slider is tinted and names its controls
// in its tooltip.
void TweakWindow::SyncControllers() {
  const bool attached = form_.controllers != nullptr;
  SetActive(learn_, attached);
  SetActive(mappings_, attached && !form_.controllers->mappings.empty());
  SetActive(learnButton_, attached);
  if (!attached) return;
  if ((learn_->value() != 0) != form_.controllers->learning) learn_->value(form_.controllers->learning ? 1 : 0);
  mappings_->SetItems(MappingItems(form_));
  learnButton_->SetItems(ButtonTargetItems(form_));
  const auto mark = [](Fl_Widget* widget, const std::string& controls, Fl_Color unmapped) {
    const char* tip = widget->tooltip() ? widget->tooltip() : "";
    if (controls != tip) widget->copy_tooltip(controls.empty() ? nullptr : controls.c_str());
    widget->color(controls.empty() ? unmapped : kMappedFieldColor);
  };
  for (auto [widget, field] :
       {std::pair{BaseVal, TweakField::BaseVal}, std::pair{Osc1, TweakField::Osc1}, std::pair{Osc2, TweakField::Osc2}})
    mark(widget, FieldMark(form_, field), FL_BACKGROUND2_COLOR);
  mark(TimeScale, TimeSliderMark(form_), timeScaleColor_);
  mark(morph_, MorphSliderMark(form_), timeScaleColor_);
}

void TweakWindow::On(Fl_Widget* widget, std::function<void()> action) {
  actions_.push_back([this, action = std::move(action)] {
    FromToolkit([&] {
      action();
      form_.changed = true;
    });
  });
  auto run = [](Fl_Widget*, void* data) { (*static_cast<std::function<void()>*>(data))(); };
  widget->callback(run, &actions_.back());
}

void TweakWindow::Frame(const TweakRectPx& at, const char* caption) {
  new GroupFrame(at.xPx, at.yPx, at.widthPx, at.heightPx, caption);
}

Fl_Box* TweakWindow::Label(const TweakPointPx& at, const char* text, Fl_Font font) {
  fl_font(font, kFontSizePx);
  int w = 0, h = 0;
  fl_measure(text, w, h);
  Fl_Box* box = new Fl_Box(at.xPx, at.yPx, w, h, text);
  box->labelfont(font);
  box->labelsize(kFontSizePx);
  box->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
  return box;
}

Fl_Button* TweakWindow::Button(const TweakRectPx& at, const char* caption, TweakButton button) {
  Fl_Button* widget = new Fl_Button(at.xPx, at.yPx, at.widthPx, at.heightPx, caption);
  widget->labelfont(kSans);
  widget->labelsize(kFontSizePx);
  On(widget, [this, button] { ClickButton(form_, button); });
  return widget;
}

Fl_Check_Button* TweakWindow::CheckBox(const TweakRectPx& at, const char* caption, bool TweakControls::*box) {
  Fl_Check_Button* widget = new Fl_Check_Button(at.xPx, at.yPx, at.widthPx, at.heightPx, caption);
  widget->labelfont(kSans);
  widget->labelsize(kFontSizePx);
  On(widget, [this, widget, box] { form_.controls.*box = widget->value() != 0; });
  checkBoxes_.emplace_back(widget, box);
  return widget;
}

FieldInput* TweakWindow::Field(const TweakRectPx& at, TweakField field, Fl_Font font) {
  FieldInput* widget = new FieldInput(at.xPx, at.yPx, at.widthPx, at.heightPx);
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

Fl_Scrollbar* TweakWindow::Bar(const TweakRectPx& at, TweakScrollBar bar) {
  Fl_Scrollbar* widget = new FineScrollbar(at.xPx, at.yPx, at.widthPx, at.heightPx);
  widget->type(FL_HORIZONTAL);
  widget->linesize(1);
  widget->when(FL_WHEN_CHANGED);
  On(widget, [this, widget, bar] { MoveScrollBar(form_, bar, static_cast<int>(widget->value())); });
  return widget;
}

ListChoice* TweakWindow::Choice(const TweakRectPx& at, TweakList list) {
  ListChoice* widget = new ListChoice(at.xPx, at.yPx, at.widthPx, at.heightPx);
  widget->textfont(kVerdana);
  widget->textsize(kFontSizePx);
  widget->when(FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED);
  On(widget, [this, widget, list] { SelectItem(form_, list, widget->value()); });
  return widget;
}

int TweakWindow::handle(int event) {
  int used = 0;
  FromToolkit([&] {
    if (event == FL_PUSH) TouchAt(Fl::event_x(), Fl::event_y());
    used = HandleKeys(event);
  });
  return used ? used : Fl_Double_Window::handle(event);
}

int TweakWindow::HandleKeys(int event) {
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

void TweakWindow::SyncView() {
  form_.changed = false;
  const TweakControls& c = form_.controls;
  SetLabel(*this, c.caption);
  if (SetLabel(*info_, c.info)) {
    // Four lines fill the box; the fifth (the section loop) fits in a smaller size.
    const bool fiveLines = std::count(c.info.begin(), c.info.end(), '\n') >= 4;
    info_->labelsize(fiveLines ? kFontSizePx - 2 : kFontSizePx);
    redraw();
  }
  // A notice longer than its line shows whole in the line's tooltip.
  if (SetLabel(*notice_, c.notice)) notice_->copy_tooltip(c.notice.empty() ? nullptr : c.notice.c_str());
  SetLabel(*possibilityValue_, std::to_string(c.Possibility.position) + "%");

  if (ParamList->size() != static_cast<int>(c.ParamList.items.size())) {
    ParamList->clear();
    for (const std::string& item : c.ParamList.items) ParamList->add(item.c_str());
  }
  if (ParamList->value() != c.ParamList.selected + 1) {
    ParamList->value(c.ParamList.selected + 1);
    if (c.ParamList.selected >= 0 && !ParamList->displayed(c.ParamList.selected + 1))
      ParamList->middleline(c.ParamList.selected + 1);
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
  SyncControllers();

  if ((rec_->value() != 0) != c.RecordKeys) rec_->value(c.RecordKeys ? 1 : 0);
  morphPreset_->SetItems(c.PresetList.items);
  if (morphPreset_->value() != c.MorphPreset) morphPreset_->value(c.MorphPreset);
  if (morph_->value() != c.Morph.position) morph_->value(c.Morph.position);
  SetActive(morph_, c.MorphPreset >= 0);

  // Only a change of the model shows or hides the window, so that the program may hide it on its own
  // (ShutdownDemo hiding every window, say) without the next event showing it again.
  if (c.visible != syncedVisible_) {
    syncedVisible_ = c.visible;
    if (c.visible) show();
    else hide();
  }
  redraw();
}

void DeleteTweakWindow::operator()(TweakWindow* window) const { delete window; }

TweakWindowPtr OpenTweakWindow(TweakHost& host) {
  if (!host.ShowMessage) host.ShowMessage = [](const std::string& text) { fl_message("%s", text.c_str()); };
  TweakWindowPtr window(new TweakWindow(host));
  TweakForm& form = window->Form();
  SetUpTweakForm(form);
  window->SyncView();
  return window;
}

TweakForm& ModelOf(TweakWindow& window) { return window.Form(); }

Fl_Window& TweakWindowOf(TweakWindow& window) { return window; }

void PlaceTweakWindow(TweakWindow& window, int xPx, int yPx) { window.position(xPx, yPx); }

void ReopenTweakWindow(TweakWindow& window) { window.Reopen(); }

void SyncTweakWindow(TweakWindow& window) {
  if (window.Form().changed) window.SyncView();
}
