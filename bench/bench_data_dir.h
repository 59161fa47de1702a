#pragma once
// The data folder the renderer benchmarks start from: one 64 × 64 texture (a colourful disc on black,
// 24-bit BMP) in a folder of the given name under the system's temporary folder. Returns its path.
#include <string>

std::string MakeBenchDataDir(const std::string& folderName);
