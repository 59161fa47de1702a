#pragma once
// The demo engine on the null device, with a data folder the test writes, a scripted millisecond
// wall clock, a recording BASS library and a host that notes what it is asked to show. Everything goes
// into one list, in the order it happened: the device's calls, "BASS_..." calls, "WallTickMs -> N",
// "ShowMessage: ...", "ShowFatalError: ...", "SetCaption: ..." and "Terminate".
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/init_demo.h"
#include "engine/playback.h"
#include "gpu/null_device.h"
#include "scene/preset_file.h"
#include "support/temp_dir.h"
#include "support/bmp_writer.h"

// The list the recording BASS library writes into (BassCalls are plain function pointers).
inline std::vector<std::string>* gBassLog = nullptr;

inline void NoteBass(const std::string& call) {
  if (gBassLog != nullptr) gBassLog->push_back(call);
}

// Behaves like the library on a machine with a sound device: a stream needs an existing file.
inline const BassCalls kRecordingBass = {
    [] {
      NoteBass("BASS_GetVersion()");
      return uint32_t(0x00060001);
    },
    [](int device, uint32_t freqHz, uint32_t flags, void*) {
      NoteBass("BASS_Init(" + std::to_string(device) + ", " + std::to_string(freqHz) + ", " + std::to_string(flags) +
               ")");
      return true;
    },
    [](bool mem, const void* file, uint32_t offset, uint32_t length, uint32_t flags) {
      const std::string name = static_cast<const char*>(file);
      NoteBass("BASS_StreamCreateFile(" + std::to_string(mem) + ", " + name + ", " + std::to_string(offset) + ", " +
               std::to_string(length) + ", " + std::to_string(flags) + ")");
      return HSTREAM(std::filesystem::is_regular_file(name) ? 7 : 0);
    },
    [] {
      NoteBass("BASS_Start()");
      return true;
    },
    [](HSTREAM handle, bool flush, uint32_t flags) {
      NoteBass("BASS_StreamPlay(" + std::to_string(handle) + ", " + std::to_string(flush) + ", " +
               std::to_string(flags) + ")");
      return true;
    },
    [] {
      NoteBass("BASS_Pause()");
      return true;
    },
    [] {
      NoteBass("BASS_Stop()");
      return true;
    },
    [] {
      NoteBass("BASS_Free()");
      return true;
    },
    [] {
      NoteBass("BASS_GetCPU()");
      return 2.6f;
    },
};

// The default parameter set with a background that does not move: red bgRed, green 0x44, blue 0x6B.
inline TScene1ParamIArray StillPreset(uint8_t bgRed) {
  TScene1ParamIArray params = InitParamTable();
  params[0].BaseVal = bgRed;  // BG_r, BG_g, BG_b
  params[1].OscForm = 0;
  params[2].OscForm = 0;
  return params;
}

// The nine lines of one sequence entry.
inline std::string EntryLines(int preset, uint32_t startMs, uint32_t endMs, const std::string& factor = "1",
                              int offsetMs = 0) {
  return CrLf({std::to_string(preset), std::to_string(startMs), std::to_string(endMs), factor, std::to_string(offsetMs),
               "0", "0", "0", "~~~"});
}

class EngineRig : public ::testing::Test {
 protected:
  EngineRig() {
    gBassLog = &recording->calls;
    engine.music.bass = &kRecordingBass;
    engine.settings.dataDir = dir.Path();
    DemoHost& host = engine.host;
    host.WallTickMs = [this] {
      if (!ticks.empty()) {
        tickMs = ticks.front();
        ticks.pop_front();
      }
      Note("WallTickMs -> " + std::to_string(tickMs));
      return tickMs;
    };
    host.ShowFatalError = [this](const std::string& text) { Note("ShowFatalError: " + text); };
    host.ShowMessage = [this](const std::string& text) { Note("ShowMessage: " + text); };
    host.SetCaption = [this](const std::string& text) { Note("SetCaption: " + text); };
    host.ClientSizePx = [](uint32_t& widthPx, uint32_t& heightPx) { widthPx = 640, heightPx = 480; };
    host.Terminate = [this] { Note("Terminate"); };
    engine.render.callbacks.fatalError = [this](const std::string& text) { FatalError(engine, text); };
    engine.render.d3d = CreateNullDirect3D8(recording);
  }
  ~EngineRig() override {
    ReleaseRenderObjects(engine.render);
    gBassLog = nullptr;
  }

  void Note(const std::string& event) { recording->calls.push_back(event); }

  // scene0.txt .. scene<count-1>.txt: the default set with a still background of 0xFF(10 * (N + 1))446B.
  void WritePresets(int count) {
    for (int n = 0; n < count; ++n)
      ASSERT_EQ(WriteScenePreset(dir / ("scene" + std::to_string(n) + ".txt"), StillPreset(uint8_t(10 * (n + 1)))), "");
  }
  void WriteSequence(uint32_t lengthMs, const std::string& ratio, const std::string& entries) {
    WriteFile(
        dir / "sceneseq.txt",
        CrLf({"// test sequence", std::to_string(lengthMs), "ratio", ratio, "mp3", Mp3Path(), "entries"}) + entries);
  }
  void WriteTextures(int count) {
    for (int n = 0; n < count; ++n)
      WriteTestBmp(dir / ("texture" + std::to_string(n) + ".bmp"), 8, 8, std::vector<uint32_t>(64, 0x40C0FF), 24);
  }
  void WriteMp3() { WriteFile(Mp3Path(), "only the reader and the recording library look at it"); }
  std::string Mp3Path() const { return dir / "song.mp3"; }

  // Presets 0 and 1, a 10-second sequence of ratio 8 with one entry per preset, two textures, the MP3.
  void WriteDemo(uint32_t lengthMs = 10000) {
    WritePresets(2);
    WriteSequence(lengthMs, "8", EntryLines(0, 0, 6000) + EntryLines(1, 4000, lengthMs, "0.5", 1000));
    WriteTextures(2);
    WriteMp3();
  }

  // InitDemo on a windowed device of the given client size, and the clock started at tickMs.
  bool Init(uint32_t widthPx = 640, uint32_t heightPx = 480) {
    DeviceChoice choice;
    choice.windowed = true;
    choice.widthPx = widthPx;
    choice.heightPx = heightPx;
    if (!InitDemo(engine, choice)) return false;
    StartDemoClock(engine.clock, tickMs);
    return true;
  }
  // One frame at tick nowMs, the wall clock reading wallMs in turn (the last one repeats; none: nowMs);
  // returns the index of its first event.
  size_t Frame(uint32_t nowMs, std::deque<uint32_t> wallMs = {}) {
    tickMs = nowMs;
    ticks = std::move(wallMs);
    const size_t first = recording->calls.size();
    DemoIdle(engine, nowMs);
    return first;
  }

  // The events whose text starts with prefix, in order; from index `from` on.
  std::vector<std::string> Events(const std::string& prefix, size_t from = 0) const {
    std::vector<std::string> found;
    for (size_t i = from; i < recording->calls.size(); ++i)
      if (recording->calls[i].compare(0, prefix.size(), prefix) == 0) found.push_back(recording->calls[i]);
    return found;
  }
  // The index of the first event starting with prefix, or the list's size.
  size_t IndexOf(const std::string& prefix) const {
    for (size_t i = 0; i < recording->calls.size(); ++i)
      if (recording->calls[i].compare(0, prefix.size(), prefix) == 0) return i;
    return recording->calls.size();
  }
  // Every event shown to the user: messages, fatal errors, termination.
  std::vector<std::string> Shown(size_t from = 0) const {
    std::vector<std::string> shown;
    for (size_t i = from; i < recording->calls.size(); ++i) {
      const std::string& e = recording->calls[i];
      if (e.rfind("Show", 0) == 0 || e == "Terminate") shown.push_back(e);
    }
    return shown;
  }
  std::string AllEvents() const {
    std::string text;
    for (const std::string& e : recording->calls) text += e + "\n";
    return text;
  }

  TempDir dir;
  std::shared_ptr<NullDeviceLog> recording = std::make_shared<NullDeviceLog>();
  DemoEngine engine;
  std::deque<uint32_t> ticks;  // the next readings of the wall clock; the last one repeats
  uint32_t tickMs = 5000;
};
