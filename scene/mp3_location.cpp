#include "scene/mp3_location.h"

#include <filesystem>

std::string FindMp3File(const std::string& mp3FileName, const std::string& dataDir) {
  namespace fs = std::filesystem;
  std::error_code ignored;
  const fs::path written(mp3FileName);
  if (mp3FileName.empty() || written.is_absolute() || fs::is_regular_file(written, ignored)) return mp3FileName;
  const fs::path folder(dataDir.empty() ? "." : dataDir);
  for (const fs::path& base : {folder / "..", folder}) {
    const fs::path candidate = (base / written).lexically_normal();
    if (fs::is_regular_file(candidate, ignored)) return candidate.string();
  }
  return mp3FileName;
}
