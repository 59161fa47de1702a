#include "cli/export_codecs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "cli/cli_messages.h"

namespace {

struct Codec {
  const char* name;
  std::vector<std::string> containers;  // the extensions that can hold it, the first one named in faults
  std::vector<std::string> arguments;
  bool evenSize;
};

const std::vector<Codec>& Codecs() {
  // One fast encoder thread keeps up with the frames and leaves the cores to the software renderer.
  static const std::vector<Codec> codecs = {
      {"h264",
       {"mp4", "m4v", "mkv", "mov"},
       {"-c:v", "libx264", "-preset", "ultrafast", "-crf", "20", "-threads", "1", "-pix_fmt", "yuv420p"},
       true},
      {"ffv1", {"mkv", "avi"}, {"-c:v", "ffv1", "-level", "3", "-threads", "1", "-pix_fmt", "bgr0"}, false},
      {"png", {"mkv", "mov", "avi"}, {"-c:v", "png", "-pix_fmt", "rgb24"}, false},
      {"prores",
       {"mov", "mkv"},
       {"-c:v", "prores_ks", "-profile:v", "2", "-threads", "1", "-pix_fmt", "yuv422p10le"},
       true},
  };
  return codecs;
}

const Codec* Find(const std::string& name) {
  for (const Codec& codec : Codecs())
    if (name == codec.name) return &codec;
  return nullptr;
}

std::string Extension(const std::string& path) {
  const size_t dot = path.find_last_of("./");
  if (dot == std::string::npos || path[dot] != '.') return "";
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extension;
}

bool HoldsMp3(const std::string& extension) {
  return extension == "mp4" || extension == "mkv" || extension == "mov" || extension == "avi";
}

}  // namespace

bool IsExportCodec(const std::string& codec) { return Find(codec) != nullptr; }

bool IsVideoFileName(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (name.rfind('.') == 0) return false;
  const std::string extension = Extension(name);
  return std::any_of(std::begin(kExportVideoExtensions), std::end(kExportVideoExtensions),
                     [&extension](const char* known) { return extension == known; });
}

std::string ContainerFault(const std::string& codec, const std::string& videoPath) {
  const Codec* found = Find(codec);
  if (found == nullptr) return "";
  // A name no video has (or a folder's) is the export target's to refuse, with its own reason.
  if (!IsVideoFileName(videoPath)) return "";
  const std::string extension = Extension(videoPath);
  if (std::find(found->containers.begin(), found->containers.end(), extension) != found->containers.end()) return "";
  std::string names;
  for (size_t i = 0; i < found->containers.size(); ++i)
    names += (i == 0 ? "." : i + 1 == found->containers.size() ? " or ." : ", .") + found->containers[i];
  return ExportContainerText(codec, names, videoPath);
}

bool NeedsEvenSize(const std::string& codec) {
  const Codec* found = Find(codec);
  return found == nullptr || found->evenSize;
}

std::vector<std::string> VideoArguments(const std::string& codec, const std::string& videoPath) {
  const Codec* found = Find(codec);
  std::vector<std::string> arguments = found != nullptr ? found->arguments : Codecs().front().arguments;
  const std::string extension = Extension(videoPath);
  if (extension == "mp4" || extension == "mov") arguments.insert(arguments.end(), {"-movflags", "+faststart"});
  return arguments;
}

std::vector<std::string> AudioArguments(const ExportSound& sound, const std::string& videoPath) {
  if (sound.endsEarly) return {"-af", "apad", "-c:a", "aac", "-b:a", "160k"};
  if (HoldsMp3(Extension(videoPath))) return {"-c:a", "copy"};
  return {"-c:a", "aac", "-b:a", "160k"};
}

std::string RateText(FrameRate rate) {
  const std::string frames = std::to_string(rate.numerator);
  return rate.denominator == 1 ? frames : frames + "/" + std::to_string(rate.denominator);
}

std::string SecondsText(uint64_t ms) {
  const std::string thousandths = std::to_string(ms % 1000);
  return std::to_string(ms / 1000) + "." + std::string(3 - thousandths.size(), '0') + thousandths;
}

uint64_t DurationMs(uint64_t frameCount, FrameRate rate) {
  const uint64_t numerator = std::max(rate.numerator, 1u);
  return (frameCount * 1000 * rate.denominator + numerator - 1) / numerator;
}
