#pragma once
// The document's MIDI controllers: the mappings (authoring/midi_mapping.h) the tweak window shows and
// learns, the MIDI input, and controllers.txt in the data folder. The file is read when the tweak window
// attaches, read again when it changes on disk (its refused lines reported in the notice line, the
// lines that read still used), and saved atomically when mappings or positions changed, at most every
// kControllersSaveIntervalMs (never for the installed demo). The input's bytes are taken once per frame,
// before the frame draws: a mapped control is an edit of the tweak window's (SetParamFromOutside: one
// undo step per run, the unsaved marker) or a press of its buttons and the development keys.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "authoring/hot_reload.h"
#include "authoring/midi_mapping.h"
#include "devmode/midi_input.h"

inline constexpr uint64_t kControllersSaveIntervalMs = 2000;

struct DocumentControllers {
  ControllerMap map;
  std::unique_ptr<MidiInput> input;  // nullptr: no MIDI system (or not opened)
  std::string path;                  // the data folder's controllers.txt; empty until attached
  FileStamp stamp;                   // the file as last read or written here
  uint64_t savedRevision = 0;        // map.revision as the file holds it
  std::optional<uint64_t> savedAtMs;
  bool readOnly = false;  // the installed demo: never written
  std::string saveFault;  // the last failure to save, shown once
};

struct DevDocument;

// With the tweak window attached (development mode): reads controllers.txt and hands the mappings to the
// tweak window's model.
void AttachControllers(DevDocument& document);
// Opens the MIDI input through system; the notice line says what it listens to, or why nothing.
void OpenMidiInput(DevDocument& document, MidiSystem system = MidiSystem::Any);
// What the frame does: the input's bytes since the last frame, fed to the mappings.
void ControllersFrame(DevDocument& document);
// Feeds MIDI bytes to the mappings, as the frame does with the input's.
void FeedControllers(DevDocument& document, std::span<const uint8_t> bytes);
// The poll: controllers.txt read again when it changed on disk, saved when the mappings changed.
void PollControllers(DevDocument& document, uint64_t wallMs);
// Saves what changed since the file was written, at once (quitting: the last moves are kept too).
void SaveControllersNow(DevDocument& document, uint64_t wallMs);
