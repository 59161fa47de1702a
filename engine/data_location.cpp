#include "engine/data_location.h"

#include <algorithm>
#include <filesystem>

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
  if (IsFolder("data")) return "data";
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
