#pragma once
// Automation: keyframe tracks on sequence entries. A track drives the base value of one parameter of
// its entry's preset over the entry's local time, the demo time minus the entry's StartTime in ms
// (negative before the entry starts). Before the first key a track holds the first key's value, after
// the last key the last key's; between two keys the earlier key's curve leads to the later key's value.
// An oscillator still swings around the tracked value, and the value is rounded and range-checked as a
// base value is. Key values are in the parameter's own units, within ParamKeyRange.
#include <cstdint>
#include <string_view>
#include <optional>
#include <string>
#include <vector>

#include "scene/param_table.h"
#include "scene/sound_envelopes.h"

enum class KeyCurve : uint8_t { Step, Linear, Smooth, Ramp };
inline constexpr int kKeyCurveCount = 4;
// The curves' names in the sequence file and on screen, index = KeyCurve.
inline constexpr const char* kKeyCurveNames[kKeyCurveCount] = {"step", "linear", "smooth", "ramp"};

struct AutomationKey {
  uint32_t TimeMs = 0;                // ms from the entry's start, 0..2147483647
  float Value = 0;                    // the parameter's base value at the key, within ParamKeyRange
  KeyCurve Curve = KeyCurve::Linear;  // how the value goes on to the next key
  bool operator==(const AutomationKey&) const = default;
};

struct AutomationTrack {
  uint8_t Param = 0;                // parameter index 0..76
  std::vector<AutomationKey> Keys;  // TimeMs ascending; equal times make a jump; never empty in a sequence
  bool operator==(const AutomationTrack&) const = default;
};

// An entry's tracks: ascending Param, at most one per parameter.
using AutomationTracks = std::vector<AutomationTrack>;

// The values a key of parameter `index` (0..76) may hold, by the type it is evaluated with: 0..1 for a
// switch, 0..255 for a byte, 0..65535 for a word, every finite float for a real.
struct KeyRange {
  double minimum, maximum;
};
KeyRange ParamKeyRange(int index);
// Whether value lies within ParamKeyRange (for a real: rounds to a finite float).
bool ValueInKeyRange(int index, double value);

// The share 0..1 of the way to the next key at fraction t (0..1) of the time between the two keys:
// step 0 (1 only at t = 1), linear t, smooth (ease in and out) t²(3 - 2t), ramp (ease in) t².
double CurveShare(KeyCurve curve, double t);
// The curve named `name`; nullopt for none.
std::optional<KeyCurve> CurveNamed(std::string_view name);
// The curve after `curve` in the order step, linear, smooth, ramp, and back to step.
KeyCurve NextCurve(KeyCurve curve);

// The track's value at localMs. O(log keys), allocates nothing. The track has at least one key.
float TrackValue(const AutomationTrack& track, int64_t localMs);

// Sets the base value of every tracked parameter of params to its track's value at localMs.
void ApplyTracks(const AutomationTracks& tracks, int64_t localMs, TScene1ParamIArray& params);

// param with its base value taken from track at localMs (the track has at least one key).
TScene1ParamInterface TrackedParam(const TScene1ParamInterface& param, const AutomationTrack& track, int64_t localMs);

// An entry's tracks at its local time and its follows at the demo time: what sets the tracked and
// followed base values of a layer as it is evaluated.
struct TracksAt {
  const AutomationTracks* tracks = nullptr;  // none: every base value as the set holds it
  int64_t localMs = 0;
  const ParamFollows* follows = nullptr;  // none: no base value follows the soundtrack
  int64_t demoMs = 0;                     // where in the envelopes
};

// The track of parameter `param`; nullptr when there is none.
const AutomationTrack* FindTrack(const AutomationTracks& tracks, int param);
AutomationTrack* FindTrack(AutomationTracks& tracks, int param);

// The track of parameter `param`, made (in its place by Param, with no keys) when there is none.
AutomationTrack& TrackFor(AutomationTracks& tracks, int param);

// Puts a key at timeMs: it replaces the value (and keeps the curve) of a key at exactly that time,
// otherwise it is inserted in time order with the curve of the key before it (linear when first).
// Returns the key's index.
size_t SetKey(AutomationTrack& track, uint32_t timeMs, float value);

// Puts the keys back in time order after their times were changed; keys of equal time keep their order.
void SortKeys(AutomationTrack& track);

// Drops the tracks that have no keys left.
void DropEmptyTracks(AutomationTracks& tracks);

// Why tracks break the rules a sequence file holds them to (tracks in ascending Param, at most one per
// parameter 0..76; keys in time order, at most 2147483647 ms, values within ParamKeyRange); empty when
// they keep them.
[[nodiscard]] std::string TracksFault(const AutomationTracks& tracks);

// How many keys the tracks hold together.
size_t KeyCount(const AutomationTracks& tracks);
