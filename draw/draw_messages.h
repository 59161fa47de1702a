#pragma once
// Every text the demo's drawing shows or hands back, in one place.
#include <cstdint>
#include <string>

inline constexpr char kNoAdapterSettingsText[] = "Not possible to read settings from default display adapter!";
inline constexpr char kDeviceInitFailedText[] = "Not possible to init adapter with d3dpp settings!";
inline constexpr char kNoCapsText[] = "init error: can't get d3d caps for this device!";
// A start whose caller handed no RenderCallbacks::fatalError (a fault of the program, not of the data).
inline constexpr char kNoFatalErrorSinkText[] = "the renderer was started without a fatal-error sink";

inline constexpr char kCapsNoActiveLights[] = "[no active lights]";
inline constexpr char kCapsNoTextures[] = "[no textures]";
inline constexpr char kCapsNoBigTextures[] = "[no big textures]";
inline constexpr char kCapsNotAllBlendings[] = "[not all dest/src blendings]";
inline constexpr char kCapsNoNonSquareTextures[] = "[no non-square textures]";
inline constexpr char kCapsNoWindowedMode[] = "[no windowed mode]";
inline constexpr char kCapsNoTextureAlpha[] = "[no alpha info in textures]";
inline constexpr char kCapsNoLinearFiltering[] = "[no linear texture filtering]";
inline constexpr char kCapsNoBlendOp[] = "[no blendop]";
inline constexpr char kCapsNoFogVertex[] = "[no fogvertex]";
inline constexpr char kCapsNoFogTable[] = "[no fogtable]";
inline constexpr char kCapsNoFogRange[] = "[no fogrange]";
inline constexpr char kCapsNoZFog[] = "[no zfog]";

// The plain warning shown for a non-empty capability list.
inline std::string CapsWarningText(const std::string& missingList) {
  return "d3d8 caps check: " + missingList + " supported!" + "\r" + "\r" +
         "This basically means that not all needed features are supported by" +
         "the chosen graphics board. You may continue, but keep in mind that" +
         "some things (or even everything) looks fucked up. Yes, even more than " + "intended :-)";
}

inline constexpr char kCreateMainBufferFailedText[] = "Not able to create vertex buffer (main)";
inline constexpr char kLockMainBufferFailedText[] = "not able to lock vertex buffer (main)";
inline constexpr char kCreateParticleBufferFailedText[] = "Not able to create vertex buffer (particles)";
inline constexpr char kLockParticleBufferFailedText[] = "not able to lock vertex buffer (particles)";

inline constexpr char kTextureNumberTooHighText[] = "texture numbers end at 254";
// reason: why the picture could not be read, or why no texture was made of it.
inline std::string TextureLoadErrorText(const std::string& fileName, const std::string& reason) {
  return "cannot load texture (" + fileName + ": " + reason + ")";
}
// Our own: a picture the texture memory budget has no room for.
inline std::string TextureBudgetText(uint32_t widthPx, uint32_t heightPx, uint64_t totalBytes, uint64_t budgetBytes) {
  return "decoded, this picture of " + std::to_string(widthPx) + " x " + std::to_string(heightPx) +
         " pixels brings the textures to " + std::to_string((totalBytes + (1 << 20) - 1) >> 20) +
         " MB, more than the " + std::to_string(budgetBytes >> 20) + " MB a data folder's textures may take";
}
inline std::string TextureInitErrorText(unsigned number, const std::string& errorText) {
  return "Texture(" + std::to_string(number) + ") Init Error: " + errorText;
}
inline constexpr char kRenderTargetInitFailedText[] = "texture init error: cannot create r2t texture";

inline constexpr char kTextureDrawFailedText[] = "texture draw fuckup!";
inline constexpr char kSpriteDrawFailedText[] = "cannot draw sprite";

// After a layer's evaluation error in one of the frames drawn before the one asked for.
inline std::string ReplayedFrameFailedText(uint32_t demoTimeMs, uint64_t frame) {
  return " (first at demo time " + std::to_string(demoTimeMs) + " ms, frame " + std::to_string(frame) +
         ", before the frame asked for)";
}

// The start-up steps of the renderer, as the program shows them.
inline constexpr char kDeviceInitPrefix[] = "d3d8 init failed! Error: ";
inline constexpr char kGeometryInitPrefix[] = "Geometry Init Error: ";
inline constexpr char kSpriteInitFailedText[] = "Sprite Init Error: could not create sprite!";
inline constexpr char kNoTexturesText[] = "Loading Error: no textures found!";

// Our own: an offscreen picture size the 16-bit size fields cannot hold.
inline std::string OffscreenSizeText(uint32_t widthPx, uint32_t heightPx) {
  return "picture size " + std::to_string(widthPx) + "x" + std::to_string(heightPx) + " is outside 1x1 .. 8192x8192";
}
inline constexpr char kNoPixelsText[] = "the device cannot read back its pixels";
// reason: "PATH: why", as the file writer gives it.
inline std::string PngWriteFailedText(const std::string& reason) { return "cannot write " + reason; }

// A scene layer whose evaluation failed, in normal play: "preset " N ": " + the evaluator's text.
inline constexpr char kLayerPresetText[] = "preset ";
