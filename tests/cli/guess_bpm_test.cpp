// quarnel --guess-bpm on a demo folder, as an author runs it, with a cache folder of its own.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/demo_folder.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

class GuessBpm : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(MakeDemoFolder(dir / "demo", 8000), ""); }

  // The demo's MP3 replaced by a 50 ms beep every 500 ms (120 bpm), 8 s long.
  void UseBeatsAt120Bpm() {
    const CommandResult made = RunCommand("sox -n -r 44100 -c 2 -b 16 '" + dir / "beats.wav" +
                                          "' synth 0.05 sine 1000 fade 0 0.05 0.04 pad 0 0.45 repeat 15 && lame "
                                          "--quiet -b 192 '" +
                                          dir / "beats.wav" + "' '" + DemoMp3Path(dir / "demo") + "'");
    ASSERT_EQ(made.status, 0) << made.output;
  }

  // Standard output of the run in out, standard error in err.
  int Run(const std::string& cacheHome, std::string& out, std::string& err) {
    const CommandResult result = RunCommand("(XDG_CACHE_HOME='" + cacheHome + "' " + QUARNEL_BINARY + " --guess-bpm '" +
                                            dir / "demo" + "' > '" + dir / "out" + "' 2> '" + dir / "err" + "')");
    out = ReadFile(dir / "out");
    err = ReadFile(dir / "err");
    return result.status;
  }

  TempDir dir;
  std::string out, err;
};

TEST_F(GuessBpm, PrintsTheTempoAndCachesTheEnvelopes) {
  UseBeatsAt120Bpm();
  ASSERT_EQ(Run(dir / "cache", out, err), 0) << err;
  EXPECT_EQ(out, "120\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "cache/quarnel"), {}), 1);
  ASSERT_EQ(Run(dir / "cache", out, err), 0) << err;
  EXPECT_EQ(out, "120\n") << "from the cache";
}

TEST_F(GuessBpm, MusicWithoutABeatOrNoMusicFails) {
  ASSERT_EQ(Run(dir / "cache", out, err), 1) << "a steady tone";
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, DemoMp3Path(dir / "demo") + ": no steady beat of 60..200 bpm is heard in it\n");

  WriteFile(DemoMp3Path(dir / "demo"), "not music");
  ASSERT_EQ(Run(dir / "cache", out, err), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, DemoMp3Path(dir / "demo") + ": not an MP3 file the music can decode\n");
}

}  // namespace
