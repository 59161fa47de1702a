#pragma once
// The tweak window as plain data: the state of every control the handlers read or write, and the form
// that ties it to the host. The FLTK window mirrors this model; tests drive it without a screen.
// Indices are 0-based; -1 means "nothing selected".
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tweak/tweak_host.h"
#include "tweak/tweak_messages.h"
#include "authoring/midi_mapping.h"
#include "authoring/undo_history.h"

struct EditField {
  std::string text;
  bool enabled = true;
};

struct ListControl {
  std::vector<std::string> items;
  int selected = -1;  // -1..items.size()-1
  bool enabled = true;
};

struct ScrollBar {
  int minimum = 0;
  int maximum = 0;
  int position = 0;  // minimum..maximum
};

struct TweakControls {
  std::string caption = kCaptionDesign;
  bool visible = false;
  std::string info = "info";
  std::string notice;  // the one-line notice under the controls (a reload from disk, an unsaved live set)

  ListControl ParamList;                   // "000 byte:BG_r" ... one per parameter
  ListControl OscFormular{{}, -1, false};  // the seven oscillator forms
  EditField Osc1{kNoValue, false};
  EditField Osc2{kNoValue, false};
  EditField BaseVal{kNoValue, false};
  bool BaseValUpEnabled = false;
  bool BaseValDownEnabled = false;

  bool RandFog = true, RandBlend = true, RandSprite = true, RandR2T = true;
  bool RandPointsprites = true, RandCamera = true, RandObject = true, RandOsc = true;
  ScrollBar Possibility{1, 99, 1};  // chance in percent

  ScrollBar TimeScale{0, 99, 1};  // target running time, ms
  std::string TimeResetCaption = kTimeResetInitial;

  EditField ScenePresetPath;  // folder, ends in "/"
  EditField ScenePresetFile{kInitialPresetFile};
  ListControl PresetList;  // "scene0", "scene1", ...
  bool RefreshAfterSave = true;

  bool RecordKeys = false;     // "rec": the window's edits become keys of the timeline's selected entry
  int MorphPreset = -1;        // the preset the morph blends towards, one of PresetList's items; -1 none
  ScrollBar Morph{0, 100, 0};  // the morph's share in percent; back at 0 when a gesture ends
};

// The edit fields whose text the handlers react to.
enum class TweakField { BaseVal, Osc1, Osc2, ScenePresetPath, ScenePresetFile };

struct TweakForm {
  explicit TweakForm(TweakHost& h) : host(h) {}
  TweakHost& host;
  TweakControls controls;
  // The file-open dialog: shows it with the title and returns the chosen file, nullopt on cancel.
  std::function<std::optional<std::string>(const std::string& title)> OpenFileDialog;
  // The record of the parameter an editing field (BaseVal, Osc1, Osc2) is being typed into, as it was
  // when the field was entered: a finished text the field rejects puts it back.
  std::optional<std::pair<int, TScene1ParamInterface>> typingFrom;
  UndoHistory history;     // every change to the live set made through the window
  bool recording = false;  // an action is being recorded (a box it opened runs the event loop meanwhile)
  std::string loopInfo;    // the section loop's line under the info text; empty when no loop point is set
  // The live set as last picked, loaded, saved or reloaded from its file: anything else is unsaved.
  TScene1ParamIArray savedSet{};
  std::string savedSetFile;  // the full name of that file; empty when the set came from none
  bool changed = false;      // changed since the window last showed it; the next frame shows it
  // What the program last read or wrote of each file the live set came from (by full name), so that
  // an undo that puts another source back compares with that file.
  std::map<std::string, TScene1ParamIArray> knownFiles;
  // While keys are recorded, the live set with its source is put aside here, and LiveParams holds the
  // values the window shows and edits instead (the recorded entry's at the cursor).
  std::optional<LiveSetState> heldLiveSet;
  // The set as the morph gesture found it; the slider blends from it, morphShare 0..1 of the way.
  std::optional<TScene1ParamIArray> morphFrom;
  double morphShare = 0;
  ControllerMap* controllers = nullptr;  // the MIDI controllers' mappings; development mode only
};
