#pragma once
// Writer of 16-bit PCM WAVE files (RIFF header, "fmt " chunk of 16 bytes, "data" chunk).
#include <cstdint>
#include <string>
#include <vector>

// The complete file for interleaved samples; channels 1..8, rateHz 1..384000.
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& interleaved, int channels, int rateHz);

// Writes the file to path; "" when written, otherwise "path: reason".
std::string WriteWav(const std::string& path, const std::vector<int16_t>& interleaved, int channels, int rateHz);
