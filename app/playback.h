#pragma once
// The frame loop: one call of DemoIdle draws one whole frame of the demo.
#include "app/demo_engine.h"

// Draws the frame of demo time demoTimeMs without touching the clock: blend factors reset, the back
// buffer cleared black, every sequence entry in file order (in development mode the live set at half
// the demo time), then Present. A layer whose evaluation fails is skipped; its message is shown once
// until a different one comes up. Used by the frame loop, --render and the video export.
void DrawDemoFrame(DemoEngine& engine, uint32_t demoTimeMs);

// One frame: the clock from the tick, the caption, the drawing, and at the demo's end a restart (Loop)
// or the shutdown.
void DemoIdle(DemoEngine& engine);

// Back to demo time 0; the music from its start when it plays.
void RestartDemo(DemoEngine& engine);

// Releases every graphics object and the music library in their order and ends the program; safe to
// call more than once and before anything was created.
void ShutdownDemo(DemoEngine& engine);
