#include "engine/data_location.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// The folder of the running program's binary, or empty when the system does not say.
fs::path BinaryDir() {
  std::error_code error;
  const fs::path binary = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : binary.parent_path();
}

// BIN/../share/quarnel as the install rules lay it out, when the program is an installed one.
fs::path InstalledShareDir() {
  const fs::path bin = BinaryDir();
  if (bin.empty()) return {};
  std::error_code ignored;
  const fs::path share = fs::weakly_canonical(bin / QUARNEL_SHARE_FROM_BINARY, ignored);
  return fs::is_directory(share, ignored) ? share : fs::path();
}

bool IsFolder(const fs::path& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

}  // namespace

std::string ShippedDemoDir() {
  if (const fs::path share = InstalledShareDir(); !share.empty() && IsFolder(share / "demo" / "data"))
    return (share / "demo" / "data").string();
  if (IsFolder(QUARNEL_SOURCE_DEMO_DIR)) return QUARNEL_SOURCE_DEMO_DIR;
  return {};
}

std::string DefaultDataDir() {
  std::error_code ignored;
  if (fs::is_regular_file(fs::path("data") / "sceneseq.txt", ignored)) return "data";
  const std::string shipped = ShippedDemoDir();
  return shipped.empty() ? "data" : shipped;
}

bool IsInstalledData(const std::string& dataDir) {
  const fs::path share = InstalledShareDir();
  if (share.empty()) return false;
  std::error_code error;
  const fs::path folder = fs::weakly_canonical(dataDir, error);
  if (error) return false;
  const auto [shareEnd, folderAt] = std::mismatch(share.begin(), share.end(), folder.begin(), folder.end());
  return shareEnd == share.end();
}

std::string ProgramCommand() {
  std::error_code error;
  const fs::path binary = fs::read_symlink("/proc/self/exe", error);
  if (error) return "quarnel";
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const fs::path folder(rest.substr(0, colon));
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (!folder.empty() && fs::equivalent(folder / binary.filename(), binary, error)) return binary.filename().string();
  }
  return binary.string();
}
