#pragma once
// quarnel --new DIR: a demo of one's own to author, made from a copy of the shipped demo.
#include <string>

// Creates dir with dir/data holding a copy of the shipped demo's files (presets, sequence, textures) and
// its MP3, the sequence's MP3 line set to "data/NAME" so that it plays from dir and from anywhere else;
// prints the commands that author and play it. Refuses a dir that exists and is not an empty folder.
// The copy is made beside dir and renamed into place, so a failure leaves no half demo. Exit status.
int RunNewDemo(const std::string& dir);
