#pragma once
// What ties the running engine, the tweak window's model and the hot reload together in development
// mode. No window toolkit here: the program and the authoring soak use the same wiring.
#include <functional>

#include "engine/demo_engine.h"
#include "authoring/hot_reload.h"
#include "tweak/tweak_controls.h"

// The tweak window's host for engine once InitDemo succeeded: its state, counts and data folder, its
// messages and shutdown, preset faults reported as messages (the session and its edits go on), and the
// window's own saves noted in watch so that they are no outside change.
void FillTweakHost(TweakHost& host, DemoEngine& engine, bool developmentMode, DataWatch& watch);

// What a reload means for the tweak window's model form: a reloaded picked preset
// becomes the live set, a new demo length shows in its info and time range. refresh shows the model
// again afterwards; faults go to the engine's messages.
ReloadEvents ReloadEventsFor(DemoEngine& engine, TweakHost& host, TweakForm& form, std::function<void()> refresh);
