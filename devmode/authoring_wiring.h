#pragma once
// The tweak window's host over the running engine and the hot reload's watch. No window toolkit here:
// the development document fills its tweak host with it.
#include "engine/demo_engine.h"
#include "authoring/hot_reload.h"
#include "tweak/tweak_controls.h"

// The tweak window's host for engine once InitDemo succeeded: its state, counts and data folder, its
// messages and shutdown, preset faults reported as messages (the session and its edits go on), and the
// window's own saves noted in watch so that they are no outside change.
void FillTweakHost(TweakHost& host, DemoEngine& engine, bool developmentMode, DataWatch& watch);
