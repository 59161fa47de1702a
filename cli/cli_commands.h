#pragma once
// The command-line tools that need no window. Each returns the process exit status.
#include <cstdint>
#include <string>

// Loads a data folder as start-up does, then its textures, the start of its MP3 and every preset over
// the times its entries play it (cli/data_check.h), and prints what it found, or every error with its
// file (and line), and warnings for what is likely a mistake. 0 only when there is no error; 1 for
// errors; kCheckUndecidedStatus when there is none but an oscillator could not be settled.
int RunCheck(const std::string& dataDir);
inline constexpr int kCheckUndecidedStatus = 3;

// Prints, for each sequence entry, its header line and the 77 evaluated values at demo time demoTimeMs.
// In development mode: the live set (preset 0 copied in) at effect time demoTimeMs / 2, one entry.
// A time past the demo's length is refused, as --render refuses it.
int RunPrintFrame(uint32_t demoTimeMs, const std::string& dataDir, bool developmentMode);
