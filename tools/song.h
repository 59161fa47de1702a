#pragma once
// The demo's soundtrack: a short electronic piece in A minor, composed note by note by this program.
//
// Tempo: 120 beats per minute, 4 beats per bar: a beat every 500 ms, a bar every 2000 ms, from time 0.
// Sections, in order: intro, build-up, main, break, finale, fade-out. For the 96-second demo they start
// at bars 0, 8, 16, 28, 32, 44, i.e. at 0, 16000, 32000, 56000, 64000 and 88000 ms; other lengths scale
// these proportionally (whole bars). The fade-out runs from its start to silence at the last sample.
#include <cstdint>
#include <vector>

constexpr int kTempoBpm = 120;
constexpr int kBeatMs = 500;
constexpr int kBarMs = 2000;
constexpr int kSongSectionCount = 6;

struct SongSection {
  const char* name;
  int startBar;  // 0-based; bar b starts at b * kBarMs
};

// Number of bars needed to cover seconds (> 0), the last one possibly cut short.
int SongBarCount(double seconds);

// The six sections for a song of barCount (>= 1) bars; start bars never decrease.
std::vector<SongSection> PlanSections(int barCount);

// The whole soundtrack, seconds (0 < seconds <= 600) long: round(seconds * 44100) frames of
// interleaved 16-bit stereo at 44.1 kHz, peaking at 80 % of full scale (room for the MP3 encoder).
std::vector<int16_t> ComposeSong(double seconds);
