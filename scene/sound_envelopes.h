#pragma once
// Envelopes of the soundtrack, and parameters that follow them. The envelopes are computed from the music
// (audio/sound_analysis.h) before the demo plays; here they are plain data: one value 0..1 per millisecond
// of the music for each source. A parameter of a sequence entry that follows a source is multiplied, each
// frame, by (offset + gain × the source's envelope at the demo time): the value it is multiplied with is
// its track's value where the parameter has keys, else its preset's base value. So a follow keeps its
// meaning when the keys or the base are changed, and keys and follow need no rule of which one wins.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "scene/param_table.h"

enum class SoundSource : uint8_t { Low, Mid, High, Onset };
inline constexpr int kSoundSourceCount = 4;
// The sources' names in the sequence file and on screen, index = SoundSource.
inline constexpr const char* kSoundSourceNames[kSoundSourceCount] = {"low", "mid", "high", "onset"};

// The source named `name`; nullopt for none.
std::optional<SoundSource> SourceNamed(std::string_view name);

struct SoundEnvelopes {
  // levels[source][ms]: the source's envelope at ms milliseconds of the music, 0..1; all four of one
  // length, the music's length in whole milliseconds (empty when there is no music).
  std::array<std::vector<float>, kSoundSourceCount> levels;
  bool operator==(const SoundEnvelopes&) const = default;
};

// The source's envelope at musicMs; 0 before the music's start and after its end.
float EnvelopeAt(const SoundEnvelopes& envelopes, SoundSource source, int64_t musicMs);

struct ParamFollow {
  uint8_t Param = 0;  // parameter index 0..76
  SoundSource Source = SoundSource::Low;
  float Gain = 1;    // how much of the envelope: a finite float
  float Offset = 0;  // the factor where the envelope is 0: a finite float
  bool operator==(const ParamFollow&) const = default;
};

// An entry's follows: ascending Param, at most one per parameter.
using ParamFollows = std::vector<ParamFollow>;

// value × (Offset + Gain × the envelope at musicMs), held within the parameter's key range (a switch
// 0..1, a byte 0..255, a word 0..65535, a real every finite float), so that a follow never makes a value
// the parameter's type cannot hold.
float FollowedValue(const ParamFollow& follow, const SoundEnvelopes& envelopes, int64_t musicMs, float value);
