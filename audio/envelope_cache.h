#pragma once
// The soundtrack's envelopes kept between runs: computing them takes a good part of a second, reading
// them back a few milliseconds. One file per MP3 content in the cache folder, named by the content's size
// and hash, so a changed MP3 is analysed again and two demos with the same music share it. A file that
// is damaged, cut short, made by another version of the analysis or for another content is computed and
// written again, never trusted.
//
// The file, little-endian: "quarnel envelopes " + the analysis version + "\n", the MP3's size (8 bytes)
// and hash (8), the sound's length in ms (4), the steps of low, mid, high and onset (4 bytes each, a
// float 0..1, msCount / 10 + 1 per source), and the hash of everything before it (8).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "audio/sound_analysis.h"

// What the cache knows an MP3 by.
struct Mp3Content {
  uint64_t bytes = 0;
  uint64_t hash = 0;  // 64-bit FNV-1a of the content
  bool operator==(const Mp3Content&) const = default;
};
Mp3Content ContentOf(std::string_view bytes);

// $XDG_CACHE_HOME/quarnel, else $HOME/.cache/quarnel (a relative XDG_CACHE_HOME is ignored, as the XDG
// rules say); "" when neither is set: then nothing is cached.
std::string EnvelopeCacheFolder();

// The cache file's content for steps of the MP3 content, and the steps back from such a content (nullopt
// when it is not a whole, undamaged file of this analysis version for that MP3 content).
std::string EnvelopeCacheBytes(const Mp3Content& mp3, const EnvelopeSteps& steps);
std::optional<EnvelopeSteps> EnvelopesFromCache(std::string_view bytes, const Mp3Content& mp3);

// The envelopes of the MP3 at mp3Path: from its file in cacheFolder when that is good, else analysed
// and written there (safely: scene/safe_file.h). cacheFolder "" caches nothing. Returns "" on success;
// otherwise why the MP3 gives none (unreadable, not MP3, no sound), with envelopes empty. cacheFault
// gets why the envelopes could not be cached ("" when they were, or did not need to be): they are good
// all the same.
[[nodiscard]] std::string CachedEnvelopes(const std::string& mp3Path, const std::string& cacheFolder,
                                          SoundEnvelopes& envelopes, std::string& cacheFault);
