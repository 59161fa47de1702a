#pragma once
// Writing the binary files the tools make (BMP, WAV): little-endian fields and the whole file.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

inline void PutU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

// Writes bytes as the file path; false with errorText set when it cannot be written.
inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& errorText) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    errorText = "cannot write " + path;
    return false;
  }
  return true;
}
