#pragma once
// Little-endian field writers for the binary file formats the tools write (BMP, WAV).
#include <cstdint>
#include <vector>

inline void PutU16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}
