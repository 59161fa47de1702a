// libFuzzer target: any bytes as a sequence file, then every entry scheduled at a few demo times.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "scene/errors.h"
#include "scene/sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string base = "/tmp/quarnel-fuzz-" + std::to_string(getpid()) + "-sceneseq";
  FILE* file = std::fopen((base + ".txt").c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  SceneSequence sequence;
  try {
    LoadSceneSequence(base, sequence, {});
    for (const TSceneSeqEntry& entry : sequence.SequenceEntries)
      for (uint32_t d : {0u, 1000u, 4294967295u}) EntryEffectTime(entry, d);
  } catch (const ConversionError&) {
  } catch (const RangeError&) {
  }
  return 0;
}
