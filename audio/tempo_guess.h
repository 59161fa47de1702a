#pragma once
// A guess of the music's tempo from its onset envelope (audio/sound_analysis.h).
#include <optional>
#include <vector>

// Beats per minute, 60..200, rounded to 0.1; nullopt when the envelope repeats at no beat in that range
// (silence, a steady sound, a single sound, music shorter than two beats of 60 bpm).
//
// How: the autocorrelation of the envelope (one value per ms, its mean taken off) for every beat length
// from 300 to 1000 ms, each weighted by how likely such a tempo is (a bell curve over log tempo centred at
// 120 bpm, one octave wide), so that half the tempo, which repeats as well, loses to the beat. The best
// length must be a peak of the autocorrelation that brings back a tenth of the envelope's energy or
// more; it is refined between its neighbours by a parabola. Like a listener, the guess may count a
// tempo above about 170 bpm at its half, and one below about 85 bpm at its double.
std::optional<double> GuessBpm(const std::vector<float>& onsetPerMs);
