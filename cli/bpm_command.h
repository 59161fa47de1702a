#pragma once
// quarnel --guess-bpm: the tempo of a demo's music, guessed from its onsets (audio/tempo_guess.h).

// Loads dataDir as the start-up does, takes its MP3's envelopes (from the cache when it has them,
// audio/envelope_cache.h) and prints the guessed beats per minute on standard output ("120", "127.9").
// Returns the exit status: 0 with a guess, 1 when the folder or the MP3 fails or no beat is heard; faults
// go to stderr, and so does a cache that could not be written (the guess is printed all the same).
#include <string>

int RunGuessBpm(const std::string& dataDir);
