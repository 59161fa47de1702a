// An export split by time equals the export in one piece: --from/--to ranges of PNG frames, and
// --jobs, whose parts are joined without encoding again (PNG frames, lossless FFV1 and H.264 video).
// The effects folder starts each second on another render-target size, so each range start is reached
// by fast-forwarding over targets of every kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/demo_folder.h"

namespace {

class ExportRanges : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(MakeEffectsFolder(data.Path()), ""); }

  CommandResult Quarnel(const std::string& args) {
    return RunCommand(std::string(QUARNEL_BINARY) + " --export " + args + " --fps 10 --size 160x120 " + data.Path());
  }
  // The names of the frames in a folder.
  std::set<std::string> Frames(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
  }
  // What ffmpeg decodes of a video's picture: each frame's time, duration and pixels' hash, in order.
  std::string DecodedFrames(const std::string& video) {
    const CommandResult result = RunCommand("ffmpeg -v error -i '" + video + "' -map 0:v -f framemd5 - | grep -v '^#'");
    EXPECT_EQ(result.status, 0) << result.output;
    return result.output;
  }
  // The times of a video's frames, one a line.
  std::string FrameTimes(const std::string& video) {
    return RunCommand("ffprobe -v error -select_streams v:0 -show_entries frame=pts_time -of csv=p=0 '" + video +
                      "' | tr -d , | grep .")
        .output;
  }

  TempDir data;
  TempDir out;
};

}  // namespace

TEST_F(ExportRanges, PngRangesAreTheFramesOfTheWholeExport) {
  ASSERT_EQ(Quarnel(out / "whole/").status, 0);
  // Frames at 0, 100, ..., 8000 ms: 0..2550 holds frames 0..25, 2551..5000 frames 26..50.
  for (const auto& [range, folder] : std::vector<std::pair<std::string, std::string>>{
           {"--to 2550", "a/"}, {"--from 2551 --to 5000", "b/"}, {"--from 5001", "c/"}}) {
    const CommandResult result = Quarnel(out / folder + " " + range);
    ASSERT_EQ(result.status, 0) << result.output;
  }
  EXPECT_EQ(Frames(out / "a").size(), 26u);
  EXPECT_EQ(*Frames(out / "b").begin(), "frame000026.png") << "frames keep their numbers in the whole";
  std::set<std::string> joined;
  for (const char* folder : {"a", "b", "c"})
    for (const std::string& name : Frames(out / folder)) {
      joined.insert(name);
      EXPECT_TRUE(ReadFile(out / folder + "/" + name) == ReadFile(out / "whole/" + name)) << folder << "/" << name;
    }
  EXPECT_EQ(joined, Frames(out / "whole"));

  ASSERT_EQ(Quarnel(out / "jobs/ --jobs 3").status, 0);
  ASSERT_EQ(Frames(out / "jobs"), Frames(out / "whole"));
  for (const std::string& name : Frames(out / "whole"))
    EXPECT_TRUE(ReadFile(out / "jobs/" + name) == ReadFile(out / "whole/" + name)) << name;
  EXPECT_EQ(ExportTemporariesIn(out.Path()), std::vector<std::string>{}) << "a part is left";
}

TEST_F(ExportRanges, JoinedVideoIsTheWholeVideoFrameForFrame) {
  ASSERT_EQ(Quarnel(out / "whole.mkv --codec ffv1 --from 1500").status, 0);
  const CommandResult joined = Quarnel(out / "joined.mkv --codec ffv1 --from 1500 --jobs 3");
  ASSERT_EQ(joined.status, 0) << joined.output;
  const std::string whole = DecodedFrames(out / "whole.mkv");
  EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), 66);
  EXPECT_EQ(DecodedFrames(out / "joined.mkv"), whole);

  // H.264 is lossy, so its parts are not the same pictures: the same frames at the same times.
  ASSERT_EQ(Quarnel(out / "whole.mp4").status, 0);
  ASSERT_EQ(Quarnel(out / "joined.mp4 --jobs 2").status, 0);
  EXPECT_EQ(FrameTimes(out / "joined.mp4"), FrameTimes(out / "whole.mp4"));
  const CommandResult streams =
      RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " + out / "joined.mp4");
  EXPECT_EQ(streams.output, "h264\nmp3\n") << "the soundtrack once, copied";
  EXPECT_EQ(ExportTemporariesIn(out.Path()), std::vector<std::string>{}) << "a part is left";
}

TEST_F(ExportRanges, FractionalRateAndIntermediateCodecs) {
  const CommandResult result =
      RunCommand(std::string(QUARNEL_BINARY) + " --export " +
                 out / "ntsc.mov --codec prores --to 1000 --fps 30000/1001 --size 160x120 " + data.Path());
  ASSERT_EQ(result.status, 0) << result.output;
  const CommandResult stream = RunCommand(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,r_frame_rate,nb_read_frames -of csv=p=0 " +
      out / "ntsc.mov");
  EXPECT_EQ(stream.output, "prores,30000/1001,30\n") << "frames at 0, 33, ..., 967 ms: 1001 ms is past the end";
  ASSERT_EQ(Quarnel(out / "frames.mkv --codec png --to 300").status, 0);
  EXPECT_EQ(RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 " + out / "frames.mkv").output,
            "png\nmp3\n");
}

TEST_F(ExportRanges, APartThatFailsFailsTheWholeAndSaysWhy) {
  const std::string video = out / "demo.mp4";
  ASSERT_EQ(Quarnel(video).status, 0);
  const std::string before = ReadFile(video);
  // 3e9 * sin(t * 0.001) in preset 6 first rounds above the 32-bit range at t = 798 ms (every entry is
  // evaluated in every frame): in the first part, at frame 8.
  MakeGreenOverflowAt798Ms(data / "scene6.txt");
  const CommandResult result = Quarnel(video + " --jobs 2");
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find("failed:\n"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("preset 6: byte:BG_g: oscillator value rounds outside the 32-bit range (first at "
                               "demo time 800 ms, frame 8)"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("failed to write " + video), std::string::npos) << result.output;
  EXPECT_TRUE(ReadFile(video) == before) << "the earlier video is kept";
  EXPECT_EQ(ExportTemporariesIn(out.Path()), std::vector<std::string>{}) << "a part is left";
}

TEST_F(ExportRanges, BadRangesAndCodecsSayWhatIsWrong) {
  for (const auto& [args, expected, status] : std::vector<std::tuple<std::string, std::string, int>>{
           {"--from 500 --to 400", "quarnel: --from: --from lies after --to", 2},
           {"--to 9000", "--to 9000: the demo ends at 8000 ms", 1},
           {"--from 101 --to 199", "no frame lies in 101..199 ms at this --fps", 1},
           {"--codec vp9", "quarnel: --codec: 'vp9' is not h264, ffv1, png or prores", 2},
           {"--codec ffv1", "--codec ffv1 goes into a .mkv or .avi file, not ", 1},
           {"--jobs 0", "quarnel: --jobs: '0' is not a whole number 1..64", 2}}) {
    const CommandResult result = Quarnel(out / "demo.mp4 " + args);
    EXPECT_EQ(result.status, status) << args;
    EXPECT_EQ(result.output.rfind(expected, 0), 0u) << result.output;
  }
}
