#pragma once
// Bus effects and the final mix-down of the soundtrack.
#include <cstdint>
#include <vector>

#include "tools/voices.h"

// Ping-pong echo added in place: each repeat delayFrames (>= 1) later, alternating sides, softened and
// scaled by feedback (0..0.9); wet (0..1) is the level of the echoes.
void AddEcho(StereoBus& bus, size_t delayFrames, float feedback, float wet);

// Dips the bus on every beat from startFrame to endFrame (a kick "pumping" the pads); depth 0..1.
void DuckOnBeats(StereoBus& bus, size_t startFrame, size_t endFrame, size_t beatFrames, float depth);

// master += bus * gain; both buses have the same length.
void MixInto(StereoBus& master, const StereoBus& bus, float gain);

// Fades from full level at startFrame to silence at the last frame, and in over the first 10 ms.
void FadeEdges(StereoBus& bus, size_t fadeOutStartFrame);

// Scales the bus so that its loudest sample is drive (>= 1) and then rounds every sample above half scale
// softly towards full scale: the drums' short peaks give way and the whole mix can be louder.
void SoftLimit(StereoBus& bus, float drive);

// Interleaved 16-bit stereo, scaled so that the loudest sample is peak (0..1) of full scale; a silent bus
// stays silent.
std::vector<int16_t> ToPcm16(const StereoBus& bus, float peak);
