#include "scene/failure_search.h"

#include <cfloat>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "scene/errors.h"
#include "scene/round.h"
#include "scene/scene_update.h"

namespace {

// Spans of at most this many demo times are evaluated one by one instead of bounded.
constexpr uint64_t kLeafMs = 16;

// A closed range of reals; low > high never occurs.
struct Span {
  double low, high;
};

// The range of sin (or cos) over the angles a..b. The library's sine is off by less than an ulp, so the
// ends widen by a little more than that; a peak counts as inside when it comes within the error of
// computing where it lies.
Span SineSpan(double a, double b, bool cosine) {
  if (b < a) std::swap(a, b);
  constexpr double kTwoPi = 2 * std::numbers::pi;
  if (!std::isfinite(a) || !std::isfinite(b) || b - a >= kTwoPi) return {-1, 1};
  const auto value = [cosine](double angle) { return cosine ? std::cos(angle) : std::sin(angle); };
  Span span{std::min(value(a), value(b)), std::max(value(a), value(b))};
  const double slack = 1e-9 * (1 + std::fabs(a) + std::fabs(b));
  const auto holds = [&](double phase) {  // some phase + 2πn within a..b
    const double n = std::ceil((a - slack - phase) / kTwoPi);
    return phase + kTwoPi * n <= b + slack;
  };
  const double peak = cosine ? 0 : std::numbers::pi / 2;
  if (holds(peak)) span.high = 1;
  if (holds(peak + std::numbers::pi)) span.low = -1;
  constexpr double kSineError = 1e-15;
  return {std::max(-1.0, span.low - kSineError), std::min(1.0, span.high + kSineError)};
}

// The products s * factor for s in span. Floating multiplication is monotonic in s, so the products
// of the ends bound every product the evaluation computes.
Span Scaled(Span span, double factor) {
  const double one = span.low * factor, other = span.high * factor;
  return {std::min(one, other), std::max(one, other)};
}

// The effect times EntryEffectTime gives for the demo times first..last. Round(d * factor) is
// monotonic in d; the wobble's sine is bounded over its angles.
Span EffectTimeSpan(const TSceneSeqEntry& entry, uint64_t first, uint64_t last) {
  const Span linear = Scaled({double(first), double(last)}, entry.TimeFactor);
  Span e{Round(linear.low), Round(linear.high)};
  if (entry.WobbleKind == 1 || entry.WobbleKind == 2) {
    const Span angles = Scaled({double(first), double(last)}, entry.WobbleFrequency);
    const Span wobble = Scaled(SineSpan(angles.low, angles.high, entry.WobbleKind == 2), entry.WobbleAmplitude);
    e = {Round(wobble.low + e.low), Round(wobble.high + e.high)};
  }
  const auto clamped = [&entry](double time) {
    return std::clamp(time + entry.TimeOffset, 0.0, static_cast<double>(kMaxEffectTime));
  };
  return {clamped(e.low), clamped(e.high)};
}

// The values track takes over the local times from..to: its values at both ends and those of the keys
// between (a key at `to` included, for the keys of a jump there).
Span TrackSpan(const AutomationTrack& track, int64_t from, int64_t to) {
  Span span{TrackValue(track, from), TrackValue(track, from)};
  const auto widen = [&span](double value) { span = {std::min(span.low, value), std::max(span.high, value)}; };
  widen(TrackValue(track, to));
  const auto after = std::upper_bound(track.Keys.begin(), track.Keys.end(), from,
                                      [](int64_t ms, const AutomationKey& key) { return ms < int64_t{key.TimeMs}; });
  for (auto key = after; key != track.Keys.end() && int64_t{key->TimeMs} <= to; ++key) widen(key->Value);
  return span;
}

// Whether OscValue over the effect times in `times` (form 1..6) with base values in `base` surely rounds
// into the signed 32-bit range. Each form's value is a monotonic function of the product of the sine
// with y and of the base, computed as OscValue computes it, so the ends of both bound it.
bool StaysIn32Bits(const TScene1ParamInterface& param, Span times, Span base) {
  if (param.OscForm < 1 || param.OscForm > 6) return true;
  const double x = param.Osc1, y = param.Osc2;
  const bool cosine = param.OscForm % 2 == 0;
  const Span product = Scaled(SineSpan(times.low * x, times.high * x, cosine), y);
  Span value;
  switch (param.OscForm) {
    case 1:
    case 2: value = {product.low + base.low, product.high + base.high}; break;
    case 3:
    case 4: {
      const double low =
          product.low <= 0 && product.high >= 0 ? 0 : std::min(std::fabs(product.low), std::fabs(product.high));
      value = {low + base.low, std::max(std::fabs(product.low), std::fabs(product.high)) + base.high};
      break;
    }
    default: value = {product.low / 2 + (y / 2 + base.low), product.high / 2 + (y / 2 + base.high)}; break;
  }
  return Round(value.low) >= INT32_MIN && Round(value.high) <= INT32_MAX;
}

// The followed values of base values in `base`: each times a factor between the offset and the offset
// plus the gain (the envelopes lie within 0..1), held in the key range as FollowedValue holds them, and
// widened by the rounding to a float.
Span FollowedSpan(const ParamFollow& follow, Span base) {
  const double factorLow = follow.Offset, factorHigh = double(follow.Offset) + follow.Gain;
  const double corners[] = {base.low * factorLow, base.low * factorHigh, base.high * factorLow, base.high * factorHigh};
  const KeyRange range = ParamKeyRange(follow.Param);
  const double low = std::clamp(*std::min_element(std::begin(corners), std::end(corners)), range.minimum, range.maximum);
  const double high = std::clamp(*std::max_element(std::begin(corners), std::end(corners)), range.minimum, range.maximum);
  return {std::nextafter(float(low), -FLT_MAX), std::nextafter(float(high), FLT_MAX)};
}

class Search {
 public:
  Search(const TSceneSeqEntry& entry, const TScene1ParamInterface& param, int index, uint64_t& budget,
         const BaseSource& base)
      : entry_(entry), param_(param), index_(index), budget_(budget), base_(base) {}

  // Demo times first..last in order; true once the result is known (a failure, or out of budget).
  bool Run(uint64_t first, uint64_t last) {
    if (last - first < kLeafMs) return TryEach(first, last);
    if (!Spend(first)) return true;
    if (StaysIn32Bits(param_, EffectTimeSpan(entry_, first, last), BaseSpan(first, last))) return false;
    const uint64_t middle = first + (last - first) / 2;
    return Run(first, middle) || Run(middle + 1, last);
  }

  FailureSearch result;

 private:
  bool TryEach(uint64_t first, uint64_t last) {
    for (uint64_t d = first; d <= last; ++d) {
      if (!Spend(d)) return true;
      const uint32_t fxTimeMs = EntryEffectTime(entry_, uint32_t(d));
      TScene1ParamInterface param = base_.track ? TrackedParam(param_, *base_.track, LocalMs(d)) : param_;
      if (base_.follow) param.BaseVal = FollowedValue(*base_.follow, *base_.envelopes, int64_t(d), param.BaseVal);
      try {
        EvaluateParam(param, index_, fxTimeMs);
      } catch (const RangeError&) {
        result = {FailureSearch::Outcome::Fails, uint32_t(d), fxTimeMs};
        return true;
      }
    }
    return false;
  }

  int64_t LocalMs(uint64_t demoTimeMs) const { return int64_t(demoTimeMs) - int64_t{entry_.StartTime}; }

  // The base values over the demo times first..last.
  Span BaseSpan(uint64_t first, uint64_t last) const {
    const Span base = base_.track ? TrackSpan(*base_.track, LocalMs(first), LocalMs(last))
                                  : Span{param_.BaseVal, param_.BaseVal};
    return base_.follow ? FollowedSpan(*base_.follow, base) : base;
  }

  bool Spend(uint64_t demoTimeMs) {
    if (budget_ > 0) return --budget_, true;
    result = {FailureSearch::Outcome::Undecided, uint32_t(demoTimeMs), 0};
    return false;
  }

  const TSceneSeqEntry& entry_;
  const TScene1ParamInterface& param_;
  int index_;
  uint64_t& budget_;
  const BaseSource& base_;
};

}  // namespace

FailureSearch FindFirstFailure(const TSceneSeqEntry& entry, const TScene1ParamInterface& param, int index,
                               uint32_t lastDemoTimeMs, uint64_t& budget, const BaseSource& base) {
  Search search(entry, param, index, budget, base);
  search.Run(0, lastDemoTimeMs);
  return search.result;
}
