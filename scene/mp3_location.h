#pragma once
// Where the sequence's MP3 file is. The sequence names it as written: relative to the working folder, or
// absolute. A demo folder moved elsewhere or played from another working folder still finds its music:
// when the name does not lead to a file as written, it is tried relative to the data folder's parent
// (a sequence line "data/song.mp3" beside "data/"), then relative to the data folder itself.
#include <string>

// The path to open for mp3FileName of the sequence in dataDir: the first of the places above that holds
// a regular file, or mp3FileName as written when none does (so that messages name what the file says).
std::string FindMp3File(const std::string& mp3FileName, const std::string& dataDir);
