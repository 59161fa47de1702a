#pragma once
// Where tests put their files: QUARNEL_TEST_OUT (created when missing), else the system's temp folder.
#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string TestOutPath(const std::string& name) {
  const char* out = std::getenv("QUARNEL_TEST_OUT");
  const std::filesystem::path folder =
      out != nullptr && *out ? std::filesystem::path(out) : std::filesystem::temp_directory_path() / "quarnel-test";
  std::filesystem::create_directories(folder);
  return (folder / name).string();
}
