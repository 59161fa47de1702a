#pragma once
// Every text the device layer shows or hands back, in one place.
#include <string>

// Our own: the GL check's report (QUARNEL_GL_CHECK=1) of an error raised in a device call, or left
// before it by a GL call outside the device.
inline std::string GLErrorText(const std::string& errorName, const std::string& call, bool leftBefore) {
  return "quarnel: GL error " + errorName +
         (leftBefore ? " before " + call + " (left by a GL call outside the device)" : " in " + call);
}
inline constexpr char kPngEncodeFailedText[] = "the picture could not be encoded as PNG";

// Our own: why a BMP file cannot be read.
inline constexpr char kBmpEmptyText[] = "the file is empty";
inline constexpr char kBmpTooLargeText[] = "the file is larger than 300 MB";
inline constexpr char kBmpNotReadText[] = "not a BMP picture the decoder reads (";  // + the decoder's word + ")"
inline constexpr char kBmpBadSizeText[] = "the picture is empty or larger than 8192 pixels on a side";
inline constexpr char kBmpCompressedOrShortText[] =
    "the picture is compressed or the file is cut short (only whole uncompressed BMPs are read)";
inline constexpr char kBmpCompressedText[] =
    "-compressed BMP: not supported, only uncompressed BMPs are read";  // "RLE8" + it
inline constexpr char kTextureNotMadeText[] = "the device could not make a texture of this picture";
