#pragma once
// The scene randomizer: "rand" draws new values for a random choice of parameters, each within a range
// that suits it, and can re-roll every oscillator; "var" nudges values one small step. Both write the
// live set only; draws come from the shared generator (scene/shared_random.h).
#include "tweak/tweak_controls.h"

// The check box that lets "rand" touch a parameter; None for the parameters that are always considered.
enum class RandGroup { None, Object, Blend, Sprite, Camera, Pointsprites, R2T, Fog };

// The group of parameter index (0..76).
RandGroup RandGroupOf(int index);

// True with probability Possibility / 100: Random(100) < position.
bool RollChance(const TweakForm& form);

void RandomizeClick(TweakForm& form);  // "rand"
void VaryClick(TweakForm& form);       // "var"
