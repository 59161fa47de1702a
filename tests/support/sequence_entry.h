#pragma once
// A sequence entry of preset from startMs to endMs, the rest as a new entry has it.
#include <cstdint>

#include "scene/sequence.h"

inline TSceneSeqEntry Entry(uint8_t preset, uint32_t startMs, uint32_t endMs) {
  TSceneSeqEntry entry;
  entry.PresetNumber = preset;
  entry.StartTime = startMs;
  entry.EndTime = endMs;
  return entry;
}
