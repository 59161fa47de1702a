#pragma once
// The start-up of the demo after "Start": everything the frames need, in a fixed order.
#include "engine/demo_engine.h"
#include "draw/device_setup.h"

// Builds everything in order: parameter table, device and capability check, presets and sequence,
// geometry, sprite, textures, fixed device states, material, letterboxed viewport, render target,
// music. engine.render.d3d must exist. Returns true when frames may start (the caller starts the clock,
// StartDemoClock, and calls DemoIdle with the tick of each frame); false after a fatal
// error, which has been shown (the program then ends). A fatal step is the last one carried out; a
// fault that a data-file reader reported lets the later steps run, as the reader itself goes on, so
// their messages are shown too (a missing MP3 is named by the sequence reader and again by the music).
bool InitDemo(DemoEngine& engine, const DeviceChoice& choice);
