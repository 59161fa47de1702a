#pragma once
// Loading the soundtrack's envelopes that followed parameters follow (scene/sound_envelopes.h): once, at
// the start-up (from the cache when it holds them, else analysed and cached: audio/envelope_cache.h).
#include <string>

#include "scene/scene_update.h"
#include "scene/sequence.h"

// Whether some entry of the sequence has a parameter that follows the soundtrack.
bool SequenceFollows(const SceneSequence& sequence);

// Loads scene.Envelopes for the sequence's MP3 (found beside dataDir) unless they are loaded already.
// Returns "" on success; otherwise why not (empty envelopes are then loaded: followed values count the
// envelopes as 0, the same in every drawing path). A cache that cannot be written is no fault.
[[nodiscard]] std::string LoadEnvelopes(const SceneSequence& sequence, const std::string& dataDir, SceneState& scene);
