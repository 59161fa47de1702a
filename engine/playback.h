#pragma once
// The frame loop: one call of DemoIdle draws one whole frame of the demo.
#include "engine/demo_engine.h"

// One frame: the clock from the tick, the caption, the drawing (in development mode with the preview on,
// the whole sequence: engine/sequence_preview.h), and at the demo's end a restart (Loop)
// or the shutdown. A layer whose evaluation fails is skipped; its message is shown once, and again only
// after a frame without it (engine/layer_errors.h).
void DemoIdle(DemoEngine& engine);

// Back to demo time 0; the music from its start when it plays.
void RestartDemo(DemoEngine& engine);

// Releases every graphics object and the music library in their order and ends the program; safe to
// call more than once and before anything was created.
void ShutdownDemo(DemoEngine& engine);
