#pragma once
// The "file operations" group: pick a loaded preset, choose a file with the dialog, save the live set
// to ScenePresetPath + ScenePresetFile (joined as they stand) and load such a file into the live set.
#include "tweak/tweak_controls.h"

// The preset list items for count presets: "scene0" ... "scene<count-1>".
std::vector<std::string> PresetListItems(int count);

// The absolute path of the data folder, ending in "/": the initial ScenePresetPath.
std::string DataFolderPath(const std::string& dataDir);

// Before something replaces the live set: with unsaved changes it asks (host.Ask) whether to save them
// first (as "save" does), discard them or cancel; true when the live set may be replaced. An empty
// host.Ask replaces without asking.
bool MayReplaceLiveSet(TweakForm& form);

// A pick in "set": the live set becomes the preset, its file the file field's; no parameter stays
// selected and the editing fields are off until one is selected again.
void PresetListChange(TweakForm& form);
void SearchClick(TweakForm& form);  // "search"
// "save": writes through a temporary file renamed over the target, so the previous file survives a
// failed write; with auto refresh the loaded presets are read again from the data folder (into a copy:
// a file that fails to read leaves them, their count and the list as they were) and the info follows.
// An existing file other than the one the live set came from is overwritten only when host.Confirm
// says yes. Success is reported in the notice line, faults in a message box.
void SaveClick(TweakForm& form);
// "save as new": saves the live set as the data folder's first free sceneN.txt, reads the presets
// again and picks the new one (without copying it: the live set is it already).
void SaveAsNewClick(TweakForm& form);
// "load": asks first over an unsaved live set (MayReplaceLiveSet), then reads the file into a copy of
// the live set and applies it only when the whole file was read; otherwise shows the reader's message
// (file and line), with the live set untouched.
void LoadClick(TweakForm& form);
