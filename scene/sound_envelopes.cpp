#include "scene/sound_envelopes.h"

#include <algorithm>

#include "scene/automation.h"

std::optional<SoundSource> SourceNamed(std::string_view name) {
  for (int i = 0; i < kSoundSourceCount; ++i)
    if (name == kSoundSourceNames[i]) return SoundSource(i);
  return std::nullopt;
}

float EnvelopeAt(const SoundEnvelopes& envelopes, SoundSource source, int64_t musicMs) {
  const std::vector<float>& levels = envelopes.levels[size_t(source)];
  if (musicMs < 0 || uint64_t(musicMs) >= levels.size()) return 0;
  return levels[size_t(musicMs)];
}

float FollowedValue(const ParamFollow& follow, const SoundEnvelopes& envelopes, int64_t musicMs, float value) {
  const double factor = double(follow.Offset) + double(follow.Gain) * EnvelopeAt(envelopes, follow.Source, musicMs);
  const double followed = double(value) * factor;
  const KeyRange range = ParamKeyRange(follow.Param);
  return float(std::clamp(followed, range.minimum, range.maximum));
}
