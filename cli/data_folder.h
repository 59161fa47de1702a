#pragma once
// The data folder a command reads, looked at before anything opens.
#include <string>

// Empty when dataDir is a folder that holds anything; otherwise the fault, naming it
// ("/nonexistent: no such data folder").
[[nodiscard]] std::string DataFolderFault(const std::string& dataDir);
