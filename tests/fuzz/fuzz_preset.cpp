// libFuzzer target: any bytes as a preset file. Only our two errors may come out.
#include <cstddef>
#include <cstdint>

#include "scene/errors.h"
#include "scene/preset_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TScene1ParamIArray target = InitParamTable();
  TextLines lines("fuzz.txt", std::string(reinterpret_cast<const char*>(data), size));
  try {
    ReadScenePreset(lines, target);
    ScenePresetText(target);
  } catch (const ConversionError&) {
  } catch (const RangeError&) {
  }
  return 0;
}
