#include "engine/init_demo.h"

#include <chrono>
#include <exception>

#include "engine/engine_messages.h"
#include "engine/envelope_loading.h"
#include "draw/demo_frame.h"
#include "draw/draw_messages.h"
#include "scene/mp3_location.h"
#include "scene/preset_file.h"
#include "scene/scene_messages.h"
#include "scene/shared_random.h"

namespace {

// The reports of the start-up's loaders. The first preset that breaks its format (readError) ends the
// start-up: nothing the loaders find after it is shown.
LoadReports ReportsTo(DemoEngine& engine, std::string& readError) {
  LoadReports reports;
  reports.FatalError = [&engine, &readError](const std::string&, const std::string& text) {
    if (readError.empty()) FatalError(engine, text);
  };
  reports.Notice = [&engine, &readError](const std::string&, const std::string& text) {
    if (readError.empty()) engine.host.ShowMessage(text);
  };
  reports.ReadError = [&readError](const std::string& text) {
    if (readError.empty()) readError = text;
  };
  return reports;
}

// Presets and sequence. A report of their readers has been shown and lets the start-up go on (the
// program ends after it); a bad number, or no sequence at all, ends the start-up here.
bool LoadSceneData(DemoEngine& engine) {
  std::string readError;
  const LoadReports reports = ReportsTo(engine, readError);
  const std::string& dir = engine.settings.dataDir;
  try {
    engine.scene.PresetCount = LoadScenePresets(dir + "/scene", engine.scene.ScenePresets, reports);
    if (!readError.empty()) {
      FatalError(engine, readError);
      return false;
    }
    if (engine.scene.PresetCount == 0) engine.host.ShowMessage(kMsgNoPresets);
    engine.SequenceCount = LoadSceneSequence(dir + "/sceneseq", engine.sequence, reports);
  } catch (const std::exception& error) {
    FatalError(engine, error.what());
    return false;
  }
  if (engine.SequenceCount == 0) {
    FatalError(engine, kMsgNoSequence);
    return false;
  }
  return true;
}

}  // namespace

void FatalError(DemoEngine& engine, const std::string& text) {
  engine.host.ShowFatalError(text);
  engine.terminating = true;
}

bool InitDemo(DemoEngine& engine, const DeviceChoice& choice) {
  RenderState& render = engine.render;
  const uint64_t seed = engine.settings.repeatable
                            ? kRepeatableSeed
                            : static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  render.random.Seed(seed);  // the output's own stream
  SeedRandom(seed);          // the randomizer's
  engine.scene.LiveParams = InitParamTable();

  const std::string deviceError = CreateRenderDevice(render, choice);
  if (!deviceError.empty()) {
    FatalError(engine, kDeviceInitPrefix + deviceError);
    return false;
  }
  const std::string missing = CheckDeviceCaps(render);
  if (engine.terminating) return false;
  if (!missing.empty()) engine.host.ShowMessage(CapsWarningText(missing));

  if (!LoadSceneData(engine)) return false;

  const std::string objectsError = CreateSceneObjects(render, engine.settings.dataDir);
  if (!objectsError.empty()) {
    FatalError(engine, objectsError);
    return false;
  }

  const std::string frameStatesError = InitFrameStates(render, engine.sequence.ScreenCinemaWidthRatio);
  if (!frameStatesError.empty()) {
    FatalError(engine, frameStatesError);
    return false;
  }

  engine.music.enabled = engine.settings.music;
  const std::string mp3Path = FindMp3File(engine.sequence.Mp3FileName, engine.settings.dataDir);
  const std::string musicError = InitMusic(engine.music, mp3Path);
  if (!musicError.empty()) {
    FatalError(engine, kSoundInitFailedPrefix + musicError);
    return false;
  }
  // Development mode always: the timeline draws them, and a follow may be set at any time.
  if (engine.settings.developmentMode || SequenceFollows(engine.sequence)) {
    const std::string envelopesError = LoadEnvelopes(engine.sequence, engine.settings.dataDir, engine.scene);
    if (!envelopesError.empty() && engine.host.ShowNotice) engine.host.ShowNotice(envelopesError);
  }

  return !engine.terminating;
}
