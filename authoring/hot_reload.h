#pragma once
// Hot reload: while the demo runs, the data folder's preset files (every sceneN.txt from scene0.txt on
// with no gap, including files that appear while the demo runs) and its sequence file are read again when their
// modification time or size changes. A file is read into a copy, which replaces the loaded data only when the whole
// file was read; a file that fails is reported once (with its file and line) until it changes again, and the previous
// data stays in use. Polling is the caller's: PollDataFiles a few times a second.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "scene/scene_update.h"
#include "scene/sequence.h"

struct FileStamp {
  bool exists = false;
  std::filesystem::file_time_type modified{};
  uintmax_t sizeBytes = 0;
  bool operator==(const FileStamp&) const = default;
};

struct WatchedFile {
  std::string path;
  FileStamp stamp;  // as last read (or tried)
};

struct DataWatch {
  std::string dataDir;
  std::vector<WatchedFile> presets;  // index = preset number
  WatchedFile sequence;
};

// What a poll did, for the program to follow up. Report is required; the others may be left empty.
struct ReloadEvents {
  std::function<void(int presetNumber)> PresetReloaded;  // ScenePresets[presetNumber] was replaced
  std::function<void()> SequenceReloaded;                // entries and DemoLength were replaced
  std::function<void(const std::string& text)> Report;   // a file that failed, or a change that waits
  // Whether the sequence in use has edits of the program's own that its file lacks: then a change of
  // the file is not read but reported to SequenceHeldBack, and ReloadSequenceFile reads it on request.
  std::function<bool()> SequenceHasOwnEdits;
  std::function<void()> SequenceHeldBack;
};

// The stamp of the file at path now.
FileStamp StampOf(const std::string& path);

// Starts watching dataDir/scene0.txt .. scene<presetCount-1>.txt and dataDir/sceneseq.txt as they are now.
void WatchDataFiles(DataWatch& watch, const std::string& dataDir, int presetCount);

// The program itself wrote path (a save of the tweak window, the timeline's "save sequence"): when it is
// a watched file, its new stamp counts as read, so that the next poll sees no outside change and does
// not read back what is already in use.
void NoteOwnWrite(DataWatch& watch, const std::string& path);

// Reads the sequence file into sequence, sequenceCount and DemoLength as a poll does (the letterbox
// ratio and MP3 stay); a file that fails is reported and changes nothing.
void ReloadSequenceFile(const DataWatch& watch, SceneSequence& sequence, uint8_t& sequenceCount,
                        const ReloadEvents& events);

// Reads every watched file whose stamp changed. A preset replaces scene.ScenePresets[N]; the file after
// the last loaded preset adds preset N (PresetCount grows). A sequence
// replaces sequence's entries and DemoLength and sequenceCount; its letterbox ratio and MP3 need a new
// start and stay as they were (reported when they changed). A file that is missing for the moment
// (an editor saving it) is left alone until it is back.
void PollDataFiles(DataWatch& watch, SceneState& scene, SceneSequence& sequence, uint8_t& sequenceCount,
                   const ReloadEvents& events);
