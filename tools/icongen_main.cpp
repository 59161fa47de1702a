// icongen OUT_DIR: the program's icon at every size a desktop asks for, as
// OUT_DIR/NxN/apps/quarnel.png (the hicolor theme's layout).
#include <cstdio>
#include <filesystem>
#include <string>

#include "gpu/rgba_image.h"
#include "ui/splash_picture.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: icongen OUT_DIR\n", stderr);
    return 2;
  }
  for (const int sizePx : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string side = std::to_string(sizePx);
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / (side + "x" + side) / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const RgbaImage icon{static_cast<uint32_t>(sizePx), static_cast<uint32_t>(sizePx), IconPicture(sizePx)};
    if (const std::string fault = WritePng((folder / "quarnel.png").string(), icon); !fault.empty()) {
      std::fprintf(stderr, "icongen: %s\n", fault.c_str());
      return 1;
    }
  }
  return 0;
}
