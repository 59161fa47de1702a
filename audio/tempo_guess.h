#pragma once
// A guess of the music's tempo from its onset envelope (audio/sound_analysis.h).
#include <optional>
#include <vector>

// Beats per minute, 60..200, rounded to 0.1; nullopt when the envelope repeats at no beat in that range
// (silence, a single sound, music shorter than two beats of 60 bpm).
//
// How: the autocorrelation of the envelope (one value per ms, its mean taken off) for every beat length
// from 300 to 1000 ms, each weighted by how likely such a tempo is (a bell curve over log tempo centred at
// 120 bpm, one octave wide), so that twice or half the beat, which repeats as well, loses to the beat; the
// best length is refined between its neighbours by a parabola.
std::optional<double> GuessBpm(const std::vector<float>& onsetPerMs);
