#pragma once
// Writing the binary files the tools make (BMP, WAV): little-endian fields and the whole file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scene/safe_file.h"

inline void PutU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

// Writes bytes as the file path with ReplaceFile; "" when written, otherwise "path: reason" with the
// previous file kept.
inline std::string WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  return ReplaceFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
