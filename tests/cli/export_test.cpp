// quarnel --export run as a user would: a PNG sequence or an H.264 video with the MP3 as its sound.
#include <gtest/gtest.h>

#include <filesystem>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "gpu/rgba_image.h"
#include "support/demo_folder.h"

namespace {

RgbaImage ReadPng(const std::string& path) {
  RgbaImage image;
  int widthPx = 0, heightPx = 0, channels = 0;
  stbi_uc* pixels = stbi_load(path.c_str(), &widthPx, &heightPx, &channels, 4);
  if (pixels == nullptr) return image;
  image.widthPx = uint32_t(widthPx);
  image.heightPx = uint32_t(heightPx);
  image.rgba.assign(pixels, pixels + size_t(widthPx) * heightPx * 4);
  stbi_image_free(pixels);
  return image;
}

bool Black(const RgbaImage& image, uint32_t x, uint32_t y) {
  const uint8_t* p = image.Pixel(x, y);
  return p[0] < 16 && p[1] < 16 && p[2] < 16;
}

class Export : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(MakeDemoFolder(data.Path(), 1000), ""); }

  CommandResult Quarnel(const std::string& args) { return RunCommand(std::string(QUARNEL_BINARY) + " " + args); }

  TempDir data;
  TempDir out;
};

}  // namespace

TEST_F(Export, PngSequenceHasEveryFrameLetterboxedAndTheSameTwice) {
  // 1000 ms at 10 frames per second: frames at 0, 100, ..., 1000 ms.
  for (const std::string run : {"first/", "second/"}) {
    const CommandResult result = Quarnel("--export " + out / run + " --fps 10 --size 160x120 " + data.Path());
    ASSERT_EQ(result.status, 0) << result.output;
  }
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out / "first")) files += entry.is_regular_file();
  EXPECT_EQ(files, 11u);
  for (int n = 0; n <= 10; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "frame%06d.png", n);
    const RgbaImage frame = ReadPng(out / "first/" + name);
    ASSERT_EQ(frame.widthPx, 160u) << name;
    ASSERT_EQ(frame.heightPx, 120u) << name;
    // Ratio 8 on 120 rows: bars of 15 rows.
    size_t barPixels = 0, barBlack = 0, areaPixels = 0, areaBlack = 0;
    for (uint32_t y = 0; y < 120; ++y)
      for (uint32_t x = 0; x < 160; ++x) {
        const bool bar = y < 15 || y >= 105;
        (bar ? barPixels : areaPixels) += 1;
        (bar ? barBlack : areaBlack) += Black(frame, x, y);
      }
    EXPECT_EQ(barBlack, barPixels) << name << ": the bars are black";
    EXPECT_LT(areaBlack, areaPixels / 2) << name << ": the picture between them is drawn";
    EXPECT_EQ(ReadFile(out / "first/" + name), ReadFile(out / "second/" + name)) << name << " differs between runs";
  }
  if (const char* keep = std::getenv("QUARNEL_TEST_OUT"))
    std::filesystem::copy_file(out / "first/frame000005.png", std::string(keep) + "/export-frame5.png",
                               std::filesystem::copy_options::overwrite_existing);
}

TEST_F(Export, VideoCarriesTheMp3AsItsSound) {
  const CommandResult result = Quarnel("--export " + out / "demo.mp4" + " --fps 10 --size 160x120 " + data.Path());
  ASSERT_EQ(result.status, 0) << result.output;
  const CommandResult streams =
      RunCommand("ffprobe -v error -show_entries stream=codec_type,codec_name -of csv=p=0 " + out / "demo.mp4");
  EXPECT_EQ(streams.output, "h264,video\nmp3,audio\n") << "the MP3 copied as it is";
  const CommandResult frames = RunCommand(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=nb_read_frames -of csv=p=0 " +
      out / "demo.mp4");
  EXPECT_EQ(frames.output, "11\n");
}

TEST_F(Export, VideoThatCannotBeWrittenFailsWithAMessage) {
  const std::string path = out / "no-such-folder/demo.mp4";
  const CommandResult result = Quarnel("--export " + path + " --fps 10 --size 160x120 " + data.Path());
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find("failed to write " + path), std::string::npos) << result.output;
}

TEST_F(Export, ALayerThatFailsStopsTheExportAndKeepsTheEarlierVideo) {
  const std::string video = out / "demo.mp4";
  ASSERT_EQ(Quarnel("--export " + video + " --fps 10 --size 160x120 " + data.Path()).status, 0);
  const std::string before = ReadFile(video);
  // 3e9 * sin(t * 0.001) first rounds above the 32-bit range at t = 798 ms: frame 8, at 800 ms.
  MakeGreenOverflowAt798Ms(data / "scene0.txt");
  const CommandResult result = Quarnel("--export " + video + " --fps 10 --size 160x120 " + data.Path());
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_NE(result.output.find("preset 0: byte:BG_g: oscillator value rounds outside the 32-bit range (first at "
                               "demo time 800 ms, frame 8)"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("failed to write " + video), std::string::npos) << result.output;
  EXPECT_TRUE(ReadFile(video) == before) << "the earlier video is kept";
  EXPECT_EQ(ExportTemporariesIn(out.Path()), std::vector<std::string>{});
}

TEST_F(Export, AnMp3ThatDoesNotDecodeKeepsTheEarlierVideo) {
  const std::string video = out / "demo.mp4";
  ASSERT_EQ(Quarnel("--export " + video + " --fps 10 --size 160x120 " + data.Path()).status, 0);
  const std::string before = ReadFile(video);
  WriteFile(DemoMp3Path(data.Path()), std::string(5000, '\x55'));
  const CommandResult result = Quarnel("--export " + video + " --fps 10 --size 160x120 " + data.Path());
  EXPECT_EQ(result.status, 1) << result.output;
  EXPECT_TRUE(ReadFile(video) == before) << "the earlier video is kept";
}

TEST_F(Export, ABrokenTextureIsReportedOnce) {
  WriteFile(data / "texture1.bmp", "BM broken");
  const CommandResult result = Quarnel("--export " + out / "demo.mp4" + " --fps 10 --size 160x120 " + data.Path());
  EXPECT_EQ(result.status, 1) << result.output;
  const std::string text = "Texture(1) Init Error: cannot load texture (" + data / "texture1.bmp: ";
  const size_t at = result.output.find(text);
  EXPECT_NE(at, std::string::npos) << result.output;
  EXPECT_EQ(result.output.find(text, at + 1), std::string::npos) << result.output;
}

TEST_F(Export, BadSizeOrFpsSaysWhatIsWrong) {
  for (const auto& [args, expected] : std::vector<std::pair<std::string, std::string>>{
           {"--size 0x480", "quarnel: --size: '0x480' is not WIDTHxHEIGHT, each a whole number 1..8192"},
           {"--size 640", "quarnel: --size: '640' is not WIDTHxHEIGHT, each a whole number 1..8192"},
           {"--fps 500",
            "quarnel: --fps: '500' is not 1..240 frames per second, a whole number or a fraction (30000/1001)"},
           {"--fps 1/2",
            "quarnel: --fps: '1/2' is not 1..240 frames per second, a whole number or a fraction (30000/1001)"},
           {"--fps", "quarnel: --fps: N is missing after it"}}) {
    const CommandResult result = Quarnel("--export " + out / "demo.mp4 " + data.Path() + " " + args);
    EXPECT_EQ(result.status, 2) << args;
    EXPECT_EQ(result.output.rfind(expected + "\nusage: ", 0), 0u) << result.output;
  }
}
