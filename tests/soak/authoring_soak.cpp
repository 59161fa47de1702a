#include "soak/authoring_soak.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>

#include "authoring/undo_history.h"
#include "engine/init_demo.h"
#include "engine/playback.h"
#include "gpu/gl_direct3d.h"
#include "scene/preset_file.h"
#include "tweak/tweak_setup.h"
#include "tweak/user_events.h"
#include "devmode/authoring_session.h"
#include "devmode/dev_document.h"
#include "devmode/devmode_messages.h"

namespace fs = std::filesystem;

namespace {

// What an author types into the editing fields: numbers for every type, values out of a type's range,
// and texts that are not (yet) numbers.
const char* const kTypedTexts[] = {"0",   "1",     "2",     "-3",      "12", "255", "256",     "300",
                                   "-1",  "65535", "70000", "0.5",     "1e", "1e3", "1e40",    "-0.25",
                                   "abc", "7.",    "-",     "123.456", "",   "3,5", "-100000", "0.001"};

// Base values an outside edit writes: legal data of every kind, including negative whole numbers,
// bytes above 255 and fractions where whole numbers belong.
const float kWrittenValues[] = {0, 1, 2, -5, -1, 12.5f, 255, 300, 65535, 70000, 0.25f, -1000, 1e6f, 3};

const DevCommand kClockCommands[] = {DevCommand::TogglePause, DevCommand::SetLoopIn, DevCommand::SetLoopOut,
                                     DevCommand::ClearLoop};

uint32_t MonotonicMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The author's answer to the offer of a held outside change, and what stood before it.
struct HeldAnswer {
  std::optional<int> preset;  // the preset's file; none: the sequence file
  std::optional<size_t> answer;
  TScene1ParamIArray liveBefore;
  uint32_t lengthBeforeMs = 0;
  uint64_t polls = 0;  // polls begun before the answer
};

class Soak {
 public:
  Soak(const SoakOptions& options, const std::function<void(const std::string&)>& log)
      : options_(options), log_(log), random_(options.seed) {}
  SoakReport Run();

 private:
  bool Start();
  void Step();
  void Frames(int count);
  void Poll();
  void Fault(const std::string& text);
  void WatchReloads();
  std::optional<size_t> Answer(const std::string& question, const std::vector<std::string>& answers);
  void CheckAnswer(const HeldAnswer& held);
  bool TookPreset(int presetNumber) const;
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
  bool Chance(int percent) { return Pick(100) < percent; }
  std::string PickedFile() const;

  // The actions of the random walk.
  void SelectParam();
  void TypeIntoField();
  void PickPreset();
  void Save();
  void EditFileOutside(int presetNumber, bool broken);
  void EditSequenceOutside();
  void EditSequenceHere();
  void WriteOutside(const std::string& path, const std::string& text);
  void UndoRedo();
  void MoveTime();
  void Randomize();

  SoakOptions options_;
  std::function<void(const std::string&)> log_;
  std::mt19937_64 random_;
  std::string dataDir_;
  SoakReport report_;

  DemoEngine engine_;
  DevDocument document_{engine_};
  std::unique_ptr<TweakForm> form_;
  std::unique_ptr<TimelineForm> timeline_;
  std::optional<HeldAnswer> heldAnswer_;  // the offer answered in the current poll
  uint64_t sequenceReloadsAnswered_ = 0;  // "reload" answered to a held change of the sequence
  uint64_t polls_ = 0;
  bool ending_ = false;
  bool inBox_ = false;     // a message box is open: its event loop runs timers and frames
  int outsideWrites_ = 0;  // gives each outside write a modification time of its own
  uint64_t reloadsOfPicked_ = 0;
};

void Soak::Fault(const std::string& text) {
  report_.faults.push_back("step " + std::to_string(report_.steps) + ": " + text);
  if (log_) log_("FAULT " + report_.faults.back());
}

std::string Soak::PickedFile() const {
  const int picked = form_->controls.PresetList.selected;
  return PresetFilePath(dataDir_, picked < 0 ? 0 : picked);
}

bool Soak::Start() {
  std::error_code error;
  dataDir_ = options_.workDir + "/data";
  fs::create_directories(dataDir_, error);
  fs::copy(options_.sourceDataDir, dataDir_, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
  if (error) return Fault("cannot copy " + options_.sourceDataDir + ": " + error.message()), false;

  engine_.settings.dataDir = dataDir_;
  engine_.settings.developmentMode = true;
  engine_.settings.loop = true;
  engine_.settings.music = options_.music;
  DemoHost& host = engine_.host;
  host.WallTickMs = MonotonicMs;
  host.ShowFatalError = [this](const std::string& text) { Fault("fatal error: " + text); };
  // A message box runs the event loop while it waits: the reload timer and frames go on meanwhile.
  host.ShowMessage = [this](const std::string&) {
    ++report_.messages;
    if (inBox_ || !form_ || !Chance(50)) return;
    inBox_ = true;
    if (Chance(30)) EditFileOutside(form_->controls.PresetList.selected, false);
    Poll();
    Frames(1);
    inBox_ = false;
  };
  host.SetCaption = [](const std::string&) {};
  host.ClientSizePx = [this](uint32_t& widthPx, uint32_t& heightPx) {
    widthPx = options_.widthPx, heightPx = options_.heightPx;
  };
  host.Terminate = [this] {
    if (!ending_) Fault("the program ended");
  };
  engine_.render.callbacks.fatalError = [this](const std::string& text) { FatalError(engine_, text); };
  engine_.render.d3d = Direct3DCreate8(D3D_SDK_VERSION);

  // Development mode's document, wired as the program wires it: the session before the start-up, the
  // document once it succeeded, then the tweak window and the timeline.
  PlayOptions play;
  play.music = options_.music;
  document_.authoring = NewAuthoringSession(true, play);
  DeviceChoice choice;
  choice.windowed = true;
  choice.widthPx = options_.widthPx;
  choice.heightPx = options_.heightPx;
  if (!InitDemo(engine_, choice)) return Fault("the start-up failed"), false;
  StartDemoClock(engine_.clock, MonotonicMs());
  ConnectDocument(document_);

  FillDocumentTweakHost(document_, true);
  form_ = std::make_unique<TweakForm>(document_.tweakHost);
  form_->OpenFileDialog = [this](const std::string&) -> std::optional<std::string> {
    switch (Pick(3)) {
      case 0: return std::nullopt;
      case 1: return PresetFilePath(dataDir_, Pick(engine_.scene.PresetCount + 1));
      default: return dataDir_ + "/missing/none.txt";
    }
  };
  SetUpTweakForm(*form_);
  document_.windows.Ask = [this](const std::string& question, const std::vector<std::string>& answers) {
    return Answer(question, answers);
  };
  AttachTweak(document_, *form_);
  FillDocumentTimelineHost(document_);
  timeline_ = std::make_unique<TimelineForm>(document_.timelineHost);
  SetUpTimeline(*timeline_);
  AttachTimeline(document_, *timeline_);
  WatchReloads();
  return true;
}

// Around the document's preset reloads: an outside change of the picked preset that replaced unsaved
// edits unasked is a fault, and so is one over no edits that did not reach the live set.
void Soak::WatchReloads() {
  ReloadEvents& events = document_.events;
  const auto presetReloaded = events.PresetReloaded;
  events.PresetReloaded = [this, presetReloaded](int presetNumber) {
    ++report_.reloads;
    const bool picked = presetNumber == form_->controls.PresetList.selected;
    const bool unsaved = LiveSetUnsaved(*form_);
    const TScene1ParamIArray before = engine_.scene.LiveParams;
    const uint64_t polls = polls_;
    presetReloaded(presetNumber);
    if (!picked) return;
    ++reloadsOfPicked_;
    if (polls != polls_) return;  // a box of the reload polled again: the file moved on meanwhile
    const std::string file = PresetFileName(presetNumber);
    if (unsaved && !SameParams(engine_.scene.LiveParams, before))
      Fault("an outside change of " + file + " replaced unsaved edits unasked");
    if (!unsaved && !TookPreset(presetNumber))
      Fault("an outside change of " + file + " over no unsaved edits was not reloaded");
  };
}

// A question of the document, answered at random, as a box would be: while it is open the event loop
// draws frames. The overwrite question is mostly answered yes, the quit question always cancel.
std::optional<size_t> Soak::Answer(const std::string& question, const std::vector<std::string>& answers) {
  ++report_.questions;
  const bool offer = answers.size() == 2 && answers[0] == kAnswerReload;
  if (offer && !(document_.heldPreset || document_.sequenceHeld)) Fault("asked \"" + question + "\" with nothing held");
  if (!inBox_) {
    inBox_ = true;
    Frames(1);
    inBox_ = false;
  }
  if (!offer) return answers.size() == 2 && Chance(80) ? 0 : answers.size() - 1;
  HeldAnswer held;
  held.preset = document_.heldPreset;
  held.answer = Chance(10) ? std::nullopt : std::optional<size_t>(Pick(2));
  held.liveBefore = engine_.scene.LiveParams;
  held.lengthBeforeMs = engine_.sequence.DemoLength;
  held.polls = polls_;
  heldAnswer_ = held;
  if (!held.preset && held.answer == std::optional<size_t>(0)) ++sequenceReloadsAnswered_;
  return held.answer;
}

// After the offer: "reload" took the file, "keep mine" kept the author's edits, no answer kept it held.
void Soak::CheckAnswer(const HeldAnswer& held) {
  if (held.polls != polls_) return;  // a box of the reload polled again: the files moved on meanwhile
  const std::string file = held.preset ? PresetFileName(*held.preset) : "the sequence";
  if (!held.answer) {
    if (held.preset ? document_.heldPreset != held.preset : !document_.sequenceHeld)
      Fault("the change of " + file + " was dropped while the question could not be asked");
  } else if (held.preset && *held.answer == 1) {
    if (!SameParams(engine_.scene.LiveParams, held.liveBefore)) Fault("\"keep mine\" replaced the live set by " + file);
  } else if (held.preset) {
    if (*held.preset == form_->controls.PresetList.selected && !TookPreset(*held.preset))
      Fault("\"reload\" did not take " + file);
  } else if (*held.answer == 1) {
    if (engine_.sequence.DemoLength != held.lengthBeforeMs) Fault("\"keep mine\" replaced the sequence's length");
  } else if (SequenceUnsaved(document_)) {
    Fault("\"reload\" left the sequence unlike its file");
  }
}

// The live set is the preset's, but for the selected parameter, whose field clips what its type cannot hold.
bool Soak::TookPreset(int presetNumber) const {
  TScene1ParamIArray preset = engine_.scene.ScenePresets[presetNumber];
  const int selected = form_->controls.ParamList.selected;
  if (selected >= 0) preset[selected] = engine_.scene.LiveParams[selected];
  return SameParams(engine_.scene.LiveParams, preset);
}

void Soak::Frames(int count) {
  for (int i = 0; i < count && !engine_.terminating; ++i) {
    DocumentFrame(document_, MonotonicMs());
    ++report_.frames;
  }
}

void Soak::Poll() {
  std::optional<HeldAnswer> outer;
  outer.swap(heldAnswer_);  // a message box of this poll may poll again
  ++polls_;
  const bool sequenceUnsaved = SequenceUnsaved(document_);
  const SceneSequence sequenceBefore = engine_.sequence;
  const uint64_t reloadsAnswered = sequenceReloadsAnswered_;
  PollDocument(document_, MonotonicMs());
  if (heldAnswer_) CheckAnswer(*heldAnswer_);
  if (sequenceUnsaved && reloadsAnswered == sequenceReloadsAnswered_ && !(engine_.sequence == sequenceBefore))
    Fault("an outside change of the sequence replaced unsaved edits unasked");
  heldAnswer_.swap(outer);
}

void Soak::SelectParam() {
  switch (Pick(5)) {
    case 0: return ClickButton(*form_, TweakButton::FirstParam);
    case 1: return ClickButton(*form_, TweakButton::LastParam);
    case 2: return ClickButton(*form_, TweakButton::PrevParamPage);
    case 3: return ClickButton(*form_, TweakButton::NextParamPage);
    default: return SelectItem(*form_, TweakList::ParamList, Pick(kParamCount + 1) - 1);
  }
}

// A text typed key by key, as the field reports it, then maybe finished with Enter or by leaving.
void Soak::TypeIntoField() {
  const TweakField fields[] = {TweakField::BaseVal, TweakField::BaseVal, TweakField::Osc1, TweakField::Osc2,
                               TweakField::ScenePresetFile};
  const TweakField field = fields[Pick(5)];
  std::string text = kTypedTexts[Pick(std::size(kTypedTexts))];
  if (field == TweakField::ScenePresetFile) text = "scene" + std::to_string(Pick(14)) + ".txt";
  std::string typed;
  TypeText(*form_, field, typed);
  for (const char key : text) TypeText(*form_, field, typed += key);
  if (Chance(60)) FinishText(*form_, field);
}

void Soak::PickPreset() {
  SelectItem(*form_, TweakList::PresetList, Pick(static_cast<int>(form_->controls.PresetList.items.size()) + 1) - 1);
}

// Mostly into the picked preset's own file; now and then another name, or a folder that does not exist.
void Soak::Save() {
  EditField& path = form_->controls.ScenePresetPath;
  const std::string keptPath = path.text;
  if (Chance(10)) {
    path.text = dataDir_ + "/missing/";
  } else if (Chance(80)) {
    path.text = dataDir_ + "/";
    form_->controls.ScenePresetFile.text = fs::path(PickedFile()).filename().string();
  }
  const uint64_t reloadsBefore = reloadsOfPicked_, editsBefore = report_.outsideEdits;
  const std::string target = path.text + form_->controls.ScenePresetFile.text;
  ClickButton(*form_, TweakButton::Save);
  ++report_.saves;
  path.text = keptPath;
  Poll();
  if (target == PickedFile() && reloadsOfPicked_ != reloadsBefore && report_.outsideEdits == editsBefore)
    Fault("the reload of our own save of " + target + " was taken for an outside change");
}

// An editor writes the preset file: one to three values changed, or (broken) a cut-off file.
void Soak::EditFileOutside(int presetNumber, bool broken) {
  const SceneState& scene = engine_.scene;
  if (presetNumber < 0 || presetNumber >= static_cast<int>(scene.ScenePresets.size())) return;
  TScene1ParamIArray preset = scene.ScenePresets[presetNumber];
  for (int n = 1 + Pick(3); n > 0; --n) {
    TScene1ParamInterface& param = preset[Pick(kParamCount)];
    switch (Pick(3)) {
      case 0: param.BaseVal = kWrittenValues[Pick(std::size(kWrittenValues))]; break;
      case 1: param.OscForm = static_cast<uint8_t>(Pick(7)); break;
      default: param.Osc1 = kWrittenValues[Pick(std::size(kWrittenValues))] / 100; break;
    }
  }
  // The selected parameter often gets a value its field refuses or clips.
  const int selected = form_->controls.ParamList.selected;
  if (selected >= 0 && Chance(50)) preset[selected].BaseVal = Chance(50) ? -7.0f : 300.0f;
  std::string text = ScenePresetText(preset);
  if (broken) text.resize(static_cast<size_t>(Pick(static_cast<int>(text.size()))));
  const std::string path = PresetFilePath(dataDir_, presetNumber);
  WriteOutside(path, text);
}

// Writes text to path as an editor would, with a stamp the next poll sees as new.
void Soak::WriteOutside(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  std::error_code error;
  fs::last_write_time(path, fs::file_time_type::clock::now() + std::chrono::seconds(++outsideWrites_), error);
  ++report_.outsideEdits;
}

// The demo length changed from outside: long, or short enough that the demo loops every few seconds.
void Soak::EditSequenceOutside() {
  const std::string path = dataDir_ + "/sceneseq.txt";
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  in.close();
  // The first line that is not a comment holds the length.
  size_t start = 0;
  while (text.compare(start, 2, "//") == 0) start = text.find("\r\n", start) + 2;
  const size_t end = text.find("\r\n", start);
  if (end == std::string::npos) return;
  const uint32_t lengthsMs[] = {1500, 2000, 4000, 96000};
  text.replace(start, end - start, std::to_string(lengthsMs[Pick(4)]));
  WriteOutside(path, text);
}

// The author edits the demo length in the timeline, and now and then saves the sequence.
void Soak::EditSequenceHere() {
  const char* const lengthsMs[] = {"3000", "5000", "60000", "96000"};
  TypeTimelineText(*timeline_, TimelineField::Length, lengthsMs[Pick(4)]);
  FinishTimelineText(*timeline_, TimelineField::Length);
  if (Chance(20)) ClickTimelineButton(*timeline_, TimelineButton::Save), ++report_.saves;
}

void Soak::UndoRedo() {
  for (int n = 1 + Pick(4); n > 0; --n) {
    RunDevCommand(document_, Chance(60) ? DevCommand::Undo : DevCommand::Redo);
    ++report_.undos;
  }
}

void Soak::MoveTime() {
  const int maximum = form_->controls.TimeScale.maximum;
  const int position = Chance(30) ? maximum - Pick(300) : Pick(maximum + 1);
  MoveScrollBar(*form_, TweakScrollBar::TimeScale, position);
  ClickButton(*form_, TweakButton::TimeReset);
}

void Soak::Randomize() {
  bool TweakControls::*groups[] = {&TweakControls::RandFog,          &TweakControls::RandBlend,
                                   &TweakControls::RandSprite,       &TweakControls::RandR2T,
                                   &TweakControls::RandPointsprites, &TweakControls::RandCamera,
                                   &TweakControls::RandObject,       &TweakControls::RandOsc};
  if (Chance(30)) form_->controls.*groups[Pick(8)] ^= true;
  if (Chance(30)) MoveScrollBar(*form_, TweakScrollBar::Possibility, 1 + Pick(99));
  ClickButton(*form_, Chance(50) ? TweakButton::Rand : TweakButton::Var);
}

void Soak::Step() {
  const int action = Pick(100);
  if (action < 12) SelectParam();
  else if (action < 30) TypeIntoField();
  else if (action < 36) ClickButton(*form_, Chance(50) ? TweakButton::BaseValUp : TweakButton::BaseValDown);
  else if (action < 41) SelectItem(*form_, TweakList::OscFormular, Pick(8) - 1);
  else if (action < 47) Randomize();
  else if (action < 52) PickPreset();
  else if (action < 60) Save();
  else if (action < 65) ClickButton(*form_, TweakButton::Load), ++report_.loads;
  else if (action < 67) ClickButton(*form_, TweakButton::Search);
  else if (action < 79) UndoRedo();
  else if (action < 85) EditFileOutside(form_->controls.PresetList.selected, false);
  else if (action < 87) EditFileOutside(Pick(engine_.scene.PresetCount), Chance(50));
  else if (action < 90) EditSequenceOutside();
  else if (action < 93) EditSequenceHere();
  else if (action < 95) RunDevCommand(document_, kClockCommands[Pick(4)]);
  else if (action < 97) MoveTime();
  else if (action < 98) PressKey(*form_, kKeyEscape), form_->controls.visible = true;
  else if (action < 99) ClickButton(*form_, TweakButton::SaveAsNew);
  Poll();
  Frames(1 + Pick(2));
}

SoakReport Soak::Run() {
  if (!Start()) return report_;
  const auto started = std::chrono::steady_clock::now();
  auto lastLog = started;
  while (report_.faults.empty()) {
    if (options_.maxSteps && report_.steps >= options_.maxSteps) break;
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - started).count();
    if (options_.maxSeconds > 0 && seconds >= options_.maxSeconds) break;
    if (log_ && now - lastLog > std::chrono::seconds(60)) {
      lastLog = now;
      log_(std::to_string(static_cast<int>(seconds)) + " s: " + std::to_string(report_.steps) + " steps, " +
           std::to_string(report_.frames) + " frames, " + std::to_string(report_.saves) + " saves, " +
           std::to_string(report_.outsideEdits) + " outside edits, " + std::to_string(report_.reloads) + " reloads, " +
           std::to_string(report_.undos) + " undo/redo, " + std::to_string(report_.messages) + " messages, " +
           std::to_string(report_.questions) + " questions");
    }
    try {
      Step();
    } catch (const std::exception& error) {
      Fault(std::string("an exception left an entry point: ") + error.what());
    }
    if (form_->history.undo.size() > kUndoSteps) Fault("the undo history outgrew its limit");
    ++report_.steps;
  }
  ending_ = true;
  ShutdownDemo(engine_);
  return report_;
}

}  // namespace

SoakReport RunAuthoringSoak(const SoakOptions& options, const std::function<void(const std::string&)>& log) {
  Soak soak(options, log);
  return soak.Run();
}
