#pragma once
// The soundtrack's instruments. Each call adds one note into a stereo bus beginning at startFrame; the
// part of a note past the end of the bus is dropped. Gains are linear (about 0..1 per note), pitches MIDI
// note numbers (69 = A 440 Hz), pan -1 (left) .. 1 (right). Noise is seeded from the start frame, so the
// same call always adds the same samples.
#include <cstddef>
#include <vector>

constexpr int kSampleRateHz = 44100;

struct StereoBus {
  std::vector<float> left, right;  // equal lengths, one value per frame
};

StereoBus MakeBus(size_t frameCount);

void AddKick(StereoBus& bus, size_t startFrame, float gain);
void AddSnare(StereoBus& bus, size_t startFrame, float gain);
void AddHat(StereoBus& bus, size_t startFrame, float gain, bool open);
void AddCrash(StereoBus& bus, size_t startFrame, float gain);
// Filtered noise sweeping upwards and swelling over lengthFrames, for the last bar before a drop.
void AddRiser(StereoBus& bus, size_t startFrame, size_t lengthFrames, float gain);
void AddBass(StereoBus& bus, size_t startFrame, size_t lengthFrames, int midiNote, float gain);
// Slow, wide chord voice; brightnessHz (200..8000) is its filter cut-off.
void AddPad(StereoBus& bus, size_t startFrame, size_t lengthFrames, int midiNote, float gain, float brightnessHz);
void AddLead(StereoBus& bus, size_t startFrame, size_t lengthFrames, int midiNote, float gain);
void AddPluck(StereoBus& bus, size_t startFrame, int midiNote, float gain, float pan);
