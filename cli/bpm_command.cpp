#include "cli/bpm_command.h"

#include <cstdio>

#include "audio/envelope_cache.h"
#include "audio/tempo_guess.h"
#include "cli/cli_messages.h"
#include "cli/console_load.h"
#include "scene/decimal_text.h"
#include "scene/mp3_location.h"

int RunGuessBpm(const std::string& dataDir) {
  LoadedDemo demo;
  if (!LoadDataFolder(dataDir, demo)) return 1;
  const std::string mp3Path = FindMp3File(demo.sequence.Mp3FileName, dataDir);
  SoundEnvelopes envelopes;
  std::string cacheFault;
  if (const std::string fault = CachedEnvelopes(mp3Path, EnvelopeCacheFolder(), envelopes, cacheFault);
      !fault.empty()) {
    PrintReport(mp3Path + ": " + fault);
    return 1;
  }
  if (!cacheFault.empty()) PrintReport("quarnel: " + cacheFault);
  const std::optional<double> bpm = GuessBpm(envelopes.levels[size_t(SoundSource::Onset)]);
  if (!bpm) {
    PrintReport(mp3Path + kNoBeatText);
    return 1;
  }
  std::printf("%s\n", FormatShortest(float(*bpm)).c_str());
  return 0;
}
