// Texture loading on the null device: BMP depths, the colour key, bad files and the numbered scan.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "support/bmp_writer.h"
#include "recording_fixture.h"
#include "gpu/bmp_decode.h"
#include "draw/draw_messages.h"
#include "draw/textures.h"
#include "support/test_paths.h"

namespace {

std::vector<uint16_t> Texels(IDirect3DTexture8* texture) {
  D3DSURFACE_DESC desc;
  texture->GetLevelDesc(0, &desc);
  D3DLOCKED_RECT locked;
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
  std::vector<uint16_t> texels(size_t(desc.Width) * desc.Height);
  for (UINT y = 0; y < desc.Height; ++y)
    std::memcpy(&texels[size_t(y) * desc.Width], static_cast<uint8_t*>(locked.pBits) + y * size_t(locked.Pitch),
                desc.Width * 2);
  texture->UnlockRect(0);
  return texels;
}

// A 3 × 2 picture: black, red, white / green, blue, dark grey.
const std::vector<uint32_t> kPicture = {0x000000, 0xFF0000, 0xFFFFFF, 0x00FF00, 0x0000FF, 0x080808};
const std::vector<uint16_t> kExpected = {0x0000, 0xFC00, 0xFFFF, 0x83E0, 0x801F, 0x8421};

TEST(TextureLoad, EightTwentyFourAndThirtyTwoBitFilesGiveKeyedA1R5G5B5) {
  for (int bits : {8, 24, 32}) {
    SCOPED_TRACE(bits);
    const std::string path = TestOutPath("load" + std::to_string(bits) + ".bmp");
    WriteTestBmp(path, 3, 2, kPicture, bits);
    RecordingFixture f;
    std::string errorText = "old";
    LoadTexture(f.state, path, 4, errorText);
    EXPECT_EQ(errorText, "");
    ASSERT_EQ(f.state.textures.size(), 5u);
    ASSERT_NE(f.state.textures[4], nullptr);
    D3DSURFACE_DESC desc;
    f.state.textures[4]->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 3u);
    EXPECT_EQ(desc.Height, 2u);
    EXPECT_EQ(desc.Format, D3DFMT_A1R5G5B5);
    EXPECT_EQ(Texels(f.state.textures[4]), kExpected);
  }
}

TEST(TextureLoad, TopDownAndOs2FilesLoadTheRightWayUp) {
  for (const BmpLayout layout : {BmpLayout::TopDown, BmpLayout::Os2}) {
    for (int bits : {8, 24}) {
      SCOPED_TRACE(std::to_string(int(layout)) + " " + std::to_string(bits));
      const std::string path =
          TestOutPath("layout" + std::to_string(int(layout)) + "-" + std::to_string(bits) + ".bmp");
      WriteTestBmp(path, 3, 2, kPicture, bits, layout);
      RecordingFixture f;
      std::string errorText;
      LoadTexture(f.state, path, 0, errorText);
      EXPECT_EQ(errorText, "");
      ASSERT_NE(f.state.textures[0], nullptr);
      EXPECT_EQ(Texels(f.state.textures[0]), kExpected);
    }
  }
}

TEST(TextureLoad, BadFilesGiveTheLoadTextWithTheReasonAndNoTexture) {
  const std::string truncated = TestOutPath("truncated.bmp");
  WriteTestBmp(truncated, 64, 64, std::vector<uint32_t>(64 * 64, 0x123456), 24);
  std::filesystem::resize_file(truncated, 200);

  const std::string huge = TestOutPath("huge.bmp");  // header claims 100000 × 100000, tiny body
  WriteTestBmp(huge, 2, 2, std::vector<uint32_t>(4, 0x123456), 24);
  {
    std::fstream file(huge, std::ios::in | std::ios::out | std::ios::binary);
    const uint32_t side = 100000;
    file.seekp(18);
    file.write(reinterpret_cast<const char*>(&side), 4);
    file.write(reinterpret_cast<const char*>(&side), 4);
  }
  const std::string text = TestOutPath("text.bmp");
  std::ofstream(text) << "not a bitmap at all";

  const std::string empty = TestOutPath("empty.bmp");
  std::ofstream{empty};

  const std::string rle = TestOutPath("rle.bmp");  // the compression field says RLE8
  WriteTestBmp(rle, 4, 4, std::vector<uint32_t>(16, 0x123456), 8);
  {
    std::fstream file(rle, std::ios::in | std::ios::out | std::ios::binary);
    const uint32_t rle8 = 1;
    file.seekp(30);
    file.write(reinterpret_cast<const char*>(&rle8), 4);
  }
  const std::string fifo = TestOutPath("fifo.bmp");
  std::filesystem::remove(fifo);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const std::pair<std::string, std::string> cases[] = {
      {truncated, "the picture is compressed or the file is cut short (only whole uncompressed BMPs are read)"},
      {huge, "the picture is empty or larger than 8192 pixels on a side"},
      {text, "not a BMP picture the decoder reads (unknown image type)"},
      {empty, "the file is empty"},
      {rle, "RLE8-compressed BMP: not supported, only uncompressed BMPs are read"},
      {TestOutPath("missing.bmp"), "No such file or directory"},
      {fifo, "a FIFO (named pipe), not a regular file"},
      {TestOutPath(""), "a folder, not a regular file"}};
  for (const auto& [path, reason] : cases) {
    SCOPED_TRACE(path);
    RecordingFixture f;
    std::string errorText;
    LoadTexture(f.state, path, 0, errorText);
    EXPECT_EQ(errorText, "cannot load texture (" + path + ": " + reason + ")");
    EXPECT_EQ(f.state.textures[0], nullptr);
    EXPECT_TRUE(f.recording->CallsStartingWith("CreateTexture").empty());
  }
  RgbaImage image;
  EXPECT_NE(ReadBmpFile(huge, image), "");
  EXPECT_TRUE(image.rgba.empty());
}

TEST(TextureLoad, UnknownCompressionIsRefusedBeforeDecoding) {
  // Found by fuzzing: 38 bytes whose header claims 4098 × 5422 pixels at 1 bit and a compression value
  // the decoder takes as uncompressed; it then decoded 22 million pixels of zeros.
  const uint8_t bytes[] = {0x42, 0x4d, 0x82, 0, 0, 0,    0,    0,    0,    0,    0x76, 0, 0,
                           0,    0x28, 0,    0, 0, 0x02, 0x10, 0,    0,    0x2e, 0x15, 0, 0,
                           0x01, 0,    0x01, 0, 0, 0x28, 0xff, 0xfe, 0xf3, 0,    0x3d, 0};
  RgbaImage image;
  EXPECT_NE(DecodeBmp(bytes, sizeof bytes, image), "");
  EXPECT_TRUE(image.rgba.empty());
}

TEST(TextureLoad, ScanStopsAtTheFirstGapAndReportsBrokenFiles) {
  const std::filesystem::path folder = TestOutPath("scan");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string base = (folder / "texture").string();
  WriteTestBmp(base + "0.bmp", 3, 2, kPicture, 24);
  std::ofstream(base + "1.bmp") << "broken";
  WriteTestBmp(base + "2.bmp", 3, 2, kPicture, 8);
  std::filesystem::create_symlink("gone.bmp", base + "3.bmp");      // a link that leads nowhere is no gap
  std::filesystem::create_symlink("texture4.bmp", base + "4.bmp");  // nor one that leads to itself
  WriteTestBmp(base + "5.bmp", 3, 2, kPicture, 8);
  WriteTestBmp(base + "7.bmp", 3, 2, kPicture, 8);

  RecordingFixture f;
  EXPECT_EQ(LoadTextures(f.state, base), 6);
  ASSERT_EQ(f.state.textures.size(), 6u);
  EXPECT_NE(f.state.textures[0], nullptr);
  EXPECT_EQ(f.state.textures[1], nullptr);
  EXPECT_NE(f.state.textures[2], nullptr);
  EXPECT_NE(f.state.textures[5], nullptr);
  EXPECT_EQ(f.fatalErrors,
            (std::vector<std::string>{
                "Texture(1) Init Error: cannot load texture (" + base +
                    "1.bmp: not a BMP picture the decoder reads (unknown image type))",
                "Texture(3) Init Error: cannot load texture (" + base +
                    "3.bmp: a symbolic link to a file that does not exist)",
                "Texture(4) Init Error: cannot load texture (" + base + "4.bmp: Too many levels of symbolic links)"}));

  RecordingFixture empty;
  EXPECT_EQ(LoadTextures(empty.state, (folder / "none").string()), 0);
  EXPECT_TRUE(empty.fatalErrors.empty());
}

// The pictures' decoded size is told from their headers: the one that would bring the textures past the
// budget is refused by name before it is decoded, and the ones after it that fit still load.
TEST(TextureLoad, TexturesBeyondTheMemoryBudgetAreRefusedByName) {
  const std::filesystem::path folder = TestOutPath("budget");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string base = (folder / "texture").string();
  WriteTestBmp(base + "0.bmp", 64, 32, std::vector<uint32_t>(64 * 32, 0x123456), 24);  // 8 KB decoded
  WriteTestBmp(base + "1.bmp", 64, 64, std::vector<uint32_t>(64 * 64, 0x123456), 24);  // 16 KB
  WriteTestBmp(base + "2.bmp", 32, 32, std::vector<uint32_t>(32 * 32, 0x123456), 24);  // 4 KB
  RecordingFixture f;
  EXPECT_EQ(LoadTextures(f.state, base, 12 << 10), 3);
  EXPECT_NE(f.state.textures[0], nullptr);
  EXPECT_EQ(f.state.textures[1], nullptr);
  EXPECT_NE(f.state.textures[2], nullptr);
  ASSERT_EQ(f.fatalErrors.size(), 1u);
  EXPECT_EQ(f.fatalErrors[0].rfind("Texture(1) Init Error: cannot load texture (" + base +
                                       "1.bmp: decoded, this picture of 64 x 64 pixels brings the textures to ",
                                   0),
            0u)
      << f.fatalErrors[0];
  EXPECT_EQ(f.recording->CallsStartingWith("CreateTexture").size(), 2u) << "the refused picture is not decoded";
}

TEST(TextureLoad, ScanEndsAtIndex254) {
  const std::filesystem::path folder = TestOutPath("scan256");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string base = (folder / "t").string();
  WriteTestBmp(base + "0.bmp", 1, 1, {0xFFFFFF}, 24);
  for (int n = 1; n <= 256; ++n) std::filesystem::copy_file(base + "0.bmp", base + std::to_string(n) + ".bmp");
  RecordingFixture f;
  EXPECT_EQ(LoadTextures(f.state, base), 255);
  EXPECT_EQ(f.state.textures.size(), 255u);
  EXPECT_EQ(f.recording->CallsStartingWith("CreateTexture").size(), 255u);
}

}  // namespace
