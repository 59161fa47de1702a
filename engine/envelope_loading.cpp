#include "engine/envelope_loading.h"

#include <algorithm>
#include <memory>

#include "audio/envelope_cache.h"
#include "engine/engine_messages.h"
#include "scene/mp3_location.h"

bool SequenceFollows(const SceneSequence& sequence) {
  return std::any_of(sequence.SequenceEntries.begin(), sequence.SequenceEntries.end(),
                     [](const TSceneSeqEntry& entry) { return !entry.Follows.empty(); });
}

std::string LoadEnvelopes(const SceneSequence& sequence, const std::string& dataDir, SceneState& scene) {
  if (scene.Envelopes) return "";
  auto envelopes = std::make_shared<SoundEnvelopes>();
  std::string cacheFault;
  const std::string fault = CachedEnvelopes(FindMp3File(sequence.Mp3FileName, dataDir), EnvelopeCacheFolder(),
                                            *envelopes, cacheFault);
  scene.Envelopes = std::move(envelopes);
  return fault.empty() ? "" : kEnvelopesFailedPrefix + fault;
}
