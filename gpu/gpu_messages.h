#pragma once
// Every text the device layer shows or hands back, in one place.
#include <string>

// Our own: the GL check's report (QUARNEL_GL_CHECK=1) of an error raised in a device call, or left
// before it by a GL call outside the device.
inline std::string GLErrorText(const std::string& errorName, const std::string& call, bool leftBefore) {
  return "quarnel: GL error " + errorName + (leftBefore ? " before " + call + " (left by a GL call outside the device)"
                                                        : " in " + call);
}
inline constexpr char kPngEncodeFailedText[] = "the picture could not be encoded as PNG";
