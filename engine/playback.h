#pragma once
// The frame loop: one call of DemoIdle draws one whole frame of the demo.
#include "engine/demo_engine.h"

// One frame at tick nowMs (the clock's milliseconds, wrapping at 32 bits): the demo time from it, the
// caption, the drawing (engine.liveSetOnly: the live set alone), and at the demo's end a restart (Loop)
// or the shutdown. A layer whose evaluation fails is skipped; its message is shown once, and again only
// after a frame without it (engine/layer_errors.h). The frame's duration is measured on host.WallTickMs.
void DemoIdle(DemoEngine& engine, uint32_t nowMs);

// Back to demo time 0 at tick nowMs; the music from its start when it plays.
void RestartDemo(DemoEngine& engine, uint32_t nowMs);

// Releases every graphics object and the music library in their order and ends the program; safe to
// call more than once and before anything was created.
void ShutdownDemo(DemoEngine& engine);
