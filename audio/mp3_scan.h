#pragma once
// Decoding a whole MP3 file once, with the music's decoder, to learn whether all of it can be played.
#include <string>

struct Mp3Scan {
  double soundS = 0;  // seconds of sound decoded
  std::string fault;  // empty when the file decoded to its end; otherwise what stopped it, and where
};

Mp3Scan ScanMp3(const std::string& fileName);
