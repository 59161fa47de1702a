#include "cli/data_folder.h"

#include <filesystem>

#include "cli/cli_messages.h"
#include "scene/printable_text.h"

namespace fs = std::filesystem;

std::string DataFolderFault(const std::string& dataDir) {
  std::error_code error;
  const fs::file_status status = fs::status(dataDir, error);
  const std::string shown = PrintableMessage(dataDir);
  if (!fs::exists(status)) return shown + kNoDataFolderText;
  if (!fs::is_directory(status)) return shown + kNotADataFolderText;
  if (fs::is_empty(dataDir, error) && !error) return shown + kEmptyDataFolderText;
  return "";
}
