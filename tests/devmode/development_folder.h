#pragma once
// The data folder the development-mode document tests start from, and the engine loaded from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/demo_engine.h"
#include "scene/preset_file.h"
#include "scene/sequence_file.h"
#include "support/temp_dir.h"

// scene0.txt and scene1.txt in dir (byte:BG_r 10 and 11, the rest the defaults) and a song.mp3 that
// holds no sound.
inline void WriteTwoPresets(const TempDir& dir) {
  for (int n = 0; n < 2; ++n) {
    TScene1ParamIArray preset = InitParamTable();
    preset[0].BaseVal = 10.0f + n;
    ASSERT_EQ(WriteScenePreset(dir / ("scene" + std::to_string(n) + ".txt"), preset), "");
  }
  WriteFile(dir / "song.mp3", "mp3");
}

// dir/sceneseq.txt: 60 s, one entry of preset 0 over all of them.
inline void WriteOneEntrySequence(const TempDir& dir) {
  WriteFile(dir / "sceneseq.txt", CrLf({"// seq", "60000", "ratio", "2.35", "mp3", dir / "song.mp3", "entries", "0",
                                        "0", "59999", "1", "0", "0", "0", "0", "~~~"}));
}

// The engine in development mode on the files in dir, its messages going to messages.
inline void LoadDevelopmentEngine(DemoEngine& engine, const TempDir& dir, std::vector<std::string>& messages) {
  engine.settings.dataDir = dir.Path();
  engine.settings.developmentMode = true;
  engine.host.ShowMessage = [&messages](const std::string& text) { messages.push_back(text); };
  engine.scene.PresetCount = LoadScenePresets(dir / "scene", engine.scene.ScenePresets, {});
  engine.SequenceCount = LoadSceneSequence(dir / "sceneseq", engine.sequence, {});
}
