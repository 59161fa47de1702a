#include "audio/envelope_cache.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "audio/music_messages.h"
#include "scene/file_read.h"
#include "scene/safe_file.h"

namespace {

constexpr uint64_t kMaxMp3Bytes = uint64_t(1) << 30;
constexpr uint64_t kMaxCacheBytes = uint64_t(1) << 28;

uint64_t Fnv1a(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (char byte : bytes) hash = (hash ^ uint8_t(byte)) * 1099511628211ull;
  return hash;
}

std::string Magic() { return "quarnel envelopes " + std::to_string(kAnalysisVersion) + "\n"; }

void PutBytes(std::string& out, uint64_t value, int count) {
  for (int i = 0; i < count; ++i) out += char(uint8_t(value >> (8 * i)));
}

// Reads count little-endian bytes at `at` and moves past them; the caller has checked the length.
uint64_t TakeBytes(std::string_view bytes, size_t& at, int count) {
  uint64_t value = 0;
  for (int i = 0; i < count; ++i) value |= uint64_t(uint8_t(bytes[at + size_t(i)])) << (8 * i);
  at += size_t(count);
  return value;
}

size_t StepCount(uint32_t msCount) { return msCount / kEnvelopeStepMs + 1; }

std::string CacheFileName(const std::string& folder, const Mp3Content& mp3) {
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(mp3.hash));
  return folder + "/envelopes-" + std::to_string(mp3.bytes) + "-" + hash + ".bin";
}

}  // namespace

Mp3Content ContentOf(std::string_view bytes) { return {bytes.size(), Fnv1a(bytes)}; }

std::string EnvelopeCacheFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/quarnel";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.cache/quarnel";
  return "";
}

std::string EnvelopeCacheBytes(const Mp3Content& mp3, const EnvelopeSteps& steps) {
  std::string out = Magic();
  PutBytes(out, mp3.bytes, 8);
  PutBytes(out, mp3.hash, 8);
  PutBytes(out, steps.msCount, 4);
  for (const std::vector<float>& source : steps.steps)
    for (float value : source) {
      uint32_t bits;
      std::memcpy(&bits, &value, sizeof bits);
      PutBytes(out, bits, 4);
    }
  PutBytes(out, Fnv1a(out), 8);
  return out;
}

std::optional<EnvelopeSteps> EnvelopesFromCache(std::string_view bytes, const Mp3Content& mp3) {
  const std::string magic = Magic();
  const size_t header = magic.size() + 8 + 8 + 4;
  if (bytes.size() < header + 8 || bytes.substr(0, magic.size()) != magic) return std::nullopt;
  size_t at = magic.size();
  if (TakeBytes(bytes, at, 8) != mp3.bytes || TakeBytes(bytes, at, 8) != mp3.hash) return std::nullopt;
  EnvelopeSteps steps;
  steps.msCount = uint32_t(TakeBytes(bytes, at, 4));
  const size_t stepCount = StepCount(steps.msCount);
  if (bytes.size() != header + kSoundSourceCount * stepCount * 4 + 8) return std::nullopt;
  size_t checksumAt = bytes.size() - 8;
  if (TakeBytes(bytes, checksumAt, 8) != Fnv1a(bytes.substr(0, bytes.size() - 8))) return std::nullopt;
  for (std::vector<float>& source : steps.steps) {
    source.resize(stepCount);
    for (float& value : source) {
      const uint32_t bits = uint32_t(TakeBytes(bytes, at, 4));
      std::memcpy(&value, &bits, sizeof value);
      if (!(value >= 0 && value <= 1)) return std::nullopt;
    }
  }
  return steps;
}

std::string CachedEnvelopes(const std::string& mp3Path, const std::string& cacheFolder, SoundEnvelopes& envelopes,
                            std::string& cacheFault) {
  envelopes = {};
  cacheFault.clear();
  std::string mp3Bytes;
  if (std::string fault = ReadWholeFile(mp3Path, kMaxMp3Bytes, mp3Bytes); !fault.empty()) return fault;
  const Mp3Content mp3 = ContentOf(mp3Bytes);
  mp3Bytes = {};
  const std::string cacheFile = cacheFolder.empty() ? "" : CacheFileName(cacheFolder, mp3);
  std::string cached;
  if (!cacheFile.empty() && ReadWholeFile(cacheFile, kMaxCacheBytes, cached).empty()) {
    if (const std::optional<EnvelopeSteps> steps = EnvelopesFromCache(cached, mp3)) {
      envelopes = EnvelopesPerMs(*steps);
      return "";
    }
  }
  EnvelopeSteps steps;
  if (std::string fault = AnalyseMp3(mp3Path, steps); !fault.empty()) return fault;
  envelopes = EnvelopesPerMs(steps);
  if (cacheFile.empty()) return "";
  // The file may have changed while it was decoded: then these envelopes are not those of `mp3`.
  if (!ReadWholeFile(mp3Path, kMaxMp3Bytes, mp3Bytes).empty() || ContentOf(mp3Bytes) != mp3) return "";
  std::error_code error;
  std::filesystem::create_directories(cacheFolder, error);
  if (error) {
    cacheFault = kEnvelopeCacheNotWritten + cacheFolder + ": " + error.message();
    return "";
  }
  if (std::string fault = ReplaceFile(cacheFile, EnvelopeCacheBytes(mp3, steps)); !fault.empty())
    cacheFault = kEnvelopeCacheNotWritten + fault;
  return "";
}
