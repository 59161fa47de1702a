#pragma once
// Loading a data folder's presets (DIR/sceneN.txt) and sequence (DIR/sceneseq.txt) the way start-up does.
#include <string>

#include "scene/load_reports.h"
#include "scene/scene_update.h"
#include "scene/sequence.h"

// Fills scene.ScenePresets/PresetCount and sequence; returns the sequence's entry count (0: no usable
// sequence). Raises ConversionError or RangeError for a bad number, as the readers do.
uint8_t LoadDemoData(const std::string& dataDir, SceneState& scene, SceneSequence& sequence,
                     const LoadReports& reports);
