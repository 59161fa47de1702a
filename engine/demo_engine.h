#pragma once
// The running demo: everything the launcher window owns once "Start" is pressed, and the few ways the
// engine reaches the program around it. The program plugs in windows and message boxes; tests collect
// the messages. The tick comes in with each frame (playback.h).
#include <cstdint>
#include <functional>
#include <string>

#include "engine/demo_clock.h"
#include "engine/layer_errors.h"
#include "audio/music.h"
#include "draw/render_state.h"
#include "scene/scene_update.h"
#include "scene/sequence.h"

// The launcher's choices and the data folder.
struct DemoSettings {
  bool developmentMode = false;
  bool music = true;   // "Music"
  bool loop = false;   // "Loop"
  bool stats = false;  // "Stats"
  std::string dataDir = "data";
  bool repeatable = false;  // ours: the random generator seeded fixed (a frame-stepped run), not from the clock
};

struct DemoHost {
  // The wall clock in monotonic milliseconds (wrapping at 32 bits) that a frame's duration is measured
  // on, whatever tick the frame is drawn at (a paused or frame-stepped one).
  std::function<uint32_t()> WallTickMs;
  std::function<void(const std::string&)> ShowFatalError;  // box titled "Demo fuckup message...", warning icon
  std::function<void(const std::string&)> ShowMessage;     // plain message window
  // Ours: a line that stays in view until something replaces it (development mode's notice line);
  // empty where there is none. Every layer error goes there, also those no box shows again.
  std::function<void(const std::string&)> ShowNotice;
  std::function<void(const std::string&)> SetCaption;                       // the output window's title
  std::function<void(uint32_t& widthPx, uint32_t& heightPx)> ClientSizePx;  // the output window's client area
  std::function<void()> Terminate;                                          // no more frames; end the program
};

struct DemoEngine {
  DemoSettings settings;
  DemoHost host;
  SceneState scene;
  SceneSequence sequence;
  uint8_t SequenceCount = 0;
  DemoClock clock;
  RenderState render;
  Music music;
  bool terminating = false;      // a fatal error was shown; the program ends once control is back in the loop
  LayerErrorFilter layerErrors;  // so that a layer failing again and again opens no box again
  // What a frame draws: the live set alone (development mode, unless its preview of the whole sequence
  // is on), or every entry of the sequence.
  bool liveSetOnly = false;
};

// Shows text as a fatal error and asks the program to end; returns to the caller.
void FatalError(DemoEngine& engine, const std::string& text);
