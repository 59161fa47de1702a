#include "bench/bench_data_dir.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

std::string MakeBenchDataDir(const std::string& folderName) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / folderName;
  std::filesystem::create_directories(dir);
  std::vector<uint8_t> file(54 + 64 * 64 * 3, 0);
  auto put32 = [&file](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
  };
  file[0] = 'B', file[1] = 'M';
  put32(2, uint32_t(file.size())), put32(10, 54), put32(14, 40), put32(18, 64), put32(22, 64);
  file[26] = 1, file[28] = 24;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const int dx = x - 32, dy = y - 32;
      uint8_t* p = &file[54 + (size_t(y) * 64 + x) * 3];
      if (dx * dx + dy * dy < 900) p[0] = uint8_t(4 * x), p[1] = uint8_t(255 - 3 * y), p[2] = 255;
    }
  std::ofstream(dir / "texture0.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  return dir.string();
}
