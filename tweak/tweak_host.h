#pragma once
// What the tweak window needs from the running program. The app fills one TweakHost after its start-up
// and keeps it (and everything it points to) alive as long as the window exists.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/demo_clock.h"
#include "scene/load_reports.h"
#include "scene/scene_update.h"

struct TweakHost {
  SceneState* scene = nullptr;   // LiveParams edited in place; ScenePresets/PresetCount read and refreshed
  DemoClock* clock = nullptr;    // StartTick moved by the time jump, DemoTime of the last frame read
  bool developmentMode = false;  // without it the window stays hidden and untouched
  uint8_t TextureCount = 0;      // loaded textures, 0..255
  uint8_t SequenceCount = 0;     // sequence entries, 0..255
  uint32_t DemoLength = 0;       // ms, 1..2147483647
  std::string dataDir = "data";  // the program's data folder as it loaded it; presets are dataDir/sceneN.txt
  bool readOnly = false;         // the installed demo: nothing is saved, the save buttons are off

  std::function<void()> ShutdownDemo;                   // "outta here" and F10; may not return
  std::function<void(const std::string&)> ShowMessage;  // plain message box that waits for the user
  // A yes/no question that waits for the user ("save" over another preset's file); empty: yes.
  std::function<bool(const std::string& question, const std::string& yes)> Confirm;
  // A question and its answers (the first one Enter's, the safe one last): the index of the answer,
  // nullopt when it cannot be asked now. Empty: the live set is replaced without asking.
  std::function<std::optional<size_t>(const std::string& question, const std::vector<std::string>& answers)> Ask;
  LoadReports reports;  // how the preset refresh after "save" reports faults
  // A key (an X keysym) that no control of the window used and the window has no use for: the program
  // decides what it means (undo, the clock, quitting); true when it used the key. Empty: none is used.
  std::function<bool(int keysym, bool ctrl, bool shift)> Key;
  // "save" wrote this file (the full name as saved): the program's own write, no outside change.
  std::function<void(const std::string& path)> PresetFileWritten;
  // With "rec" on, an edit of the window's values as keys: LiveParams before and after it, the undo run
  // it belongs to (as for the history) and whether it is a keystroke of a typing run. The program writes
  // the keys and puts aside the live set (TweakForm::heldLiveSet) when it has not yet; with none put
  // aside afterwards the edit is taken back. Returns what the notice line says ("" nothing). Empty: the
  // switch records nothing and edits go to the live set.
  std::function<std::string(const TScene1ParamIArray& before, const TScene1ParamIArray& after, std::optional<int> run,
                            bool typing)>
      RecordKeys;
};
