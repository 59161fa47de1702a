#include "cli/export_jobs.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "cli/cli_messages.h"
#include "cli/console_load.h"
#include "cli/export_codecs.h"
#include "cli/export_interrupt.h"
#include "cli/export_target.h"
#include "cli/ffmpeg_pipe.h"
#include "scene/printable_text.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Part {
  FrameSpan span;
  std::string path;  // the part's video file, or its folder of frames ending in '/'
  std::string log;   // what the part's process printed
  pid_t pid = -1;
  bool ok = false;  // its process ended with status 0
};

// The program's arguments that export one part: the picture alone (the soundtrack goes in once, when
// the parts are joined).
std::vector<std::string> PartArguments(const ExportOptions& options, const Part& part) {
  return {"--export",   part.path,
          "--fps",      RateText(options.rate),
          "--size",     std::to_string(options.widthPx) + "x" + std::to_string(options.heightPx),
          "--from",     std::to_string(FixedStepFrameTimeMs(part.span.first, options.rate)),
          "--to",       std::to_string(FixedStepFrameTimeMs(part.span.last, options.rate)),
          "--codec",    options.codec,
          "--no-music", options.dataDir};
}

// Starts this program on arguments, its output going to logPath; -1 when it could not start.
pid_t StartPart(const std::vector<std::string>& arguments, const std::string& logPath) {
  std::vector<char*> argv{const_cast<char*>("quarnel")};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  const bool started = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return started ? pid : -1;
}

// Waits for every part; true when each one ended with status 0. A signal to us ends the parts.
bool WaitForParts(std::vector<Part>& parts) {
  bool ok = true;
  for (Part& part : parts) {
    if (part.pid <= 0) {
      ok = false;
      continue;
    }
    int status = 0;
    while (waitpid(part.pid, &status, 0) < 0 && errno == EINTR)
      if (InterruptWatch::Signal() != 0)
        for (const Part& each : parts)
          if (each.pid > 0) kill(each.pid, SIGTERM);
    part.pid = -1;
    part.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    ok = ok && part.ok;
  }
  return ok;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The concat demuxer's list: each part's absolute path, quoted as the demuxer reads it.
bool WriteList(const std::string& listPath, const std::vector<Part>& parts) {
  std::ofstream list(listPath);
  for (const Part& part : parts) {
    std::string quoted;
    for (char c : fs::absolute(part.path).string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    list << "file '" << quoted << "'\n";
  }
  return bool(list.flush());
}

bool MoveFrames(const std::vector<Part>& parts, const std::string& folder) {
  std::error_code error;
  for (const Part& part : parts)
    for (const fs::directory_entry& entry : fs::directory_iterator(part.path, error)) {
      fs::rename(entry.path(), fs::path(folder) / entry.path().filename(), error);
      if (error) return false;
    }
  return !error;
}

void RemoveParts(const std::vector<Part>& parts, const std::string& listPath) {
  std::error_code ignored;
  for (const Part& part : parts) {
    fs::remove_all(part.path, ignored);
    fs::remove(part.log, ignored);
  }
  fs::remove(listPath, ignored);
}

}  // namespace

std::vector<std::string> JoinArguments(const std::string& listPath, const ExportSound& sound, uint32_t fromMs,
                                       uint64_t durationMs, const std::string& videoPath) {
  std::vector<std::string> arguments = {
      "-y", "-loglevel", "error", "-f", "concat", "-safe", "0", "-i", FfmpegFileName(listPath)};
  if (!sound.mp3.empty()) {
    if (fromMs > 0) arguments.insert(arguments.end(), {"-ss", SecondsText(fromMs)});
    arguments.insert(arguments.end(), {"-i", FfmpegFileName(sound.mp3), "-map", "0:v", "-map", "1:a"});
    const std::vector<std::string> audio = AudioArguments(sound, videoPath);
    arguments.insert(arguments.end(), audio.begin(), audio.end());
  }
  arguments.insert(arguments.end(), {"-c:v", "copy", "-t", SecondsText(durationMs), FfmpegFileName(videoPath)});
  return arguments;
}

int RunSplitExport(const ExportOptions& options, FrameSpan span, bool toPng, const ExportSound& sound) {
  InterruptWatch interrupts;
  ExportTarget target;
  if (const std::string fault = PrepareExportTarget(options.outPath, toPng, target); !fault.empty()) {
    PrintReport(fault);
    PrintReport(kExportFailedText + options.outPath);
    return 1;
  }
  // Parts beside the target, named as our temporaries so that a later export removes them should we die.
  const fs::path folder = fs::path(target.temporary).parent_path();
  const std::string head = kExportTemporaryPrefix + std::to_string(getpid()) + "-part";
  const uint64_t frameCount = span.last - span.first + 1;
  const uint64_t jobs = std::min<uint64_t>(options.jobs, frameCount);
  std::vector<Part> parts;
  for (uint64_t k = 0; k < jobs; ++k) {
    Part part;
    part.span = {span.first + frameCount * k / jobs, span.first + frameCount * (k + 1) / jobs - 1};
    const std::string name = head + std::to_string(k) + "-" + fs::path(target.target).filename().string();
    part.path = (folder / name).string() + (toPng ? "/" : "");
    part.log = (folder / (name + ".log")).string();
    parts.push_back(part);
  }
  for (Part& part : parts) part.pid = StartPart(PartArguments(options, part), part.log);
  PrintReport(ExportJobsText(jobs, frameCount));
  bool ok = WaitForParts(parts);
  for (const Part& part : parts)
    if (!part.ok && InterruptWatch::Signal() == 0)  // its own messages follow, printable already
      std::fprintf(stderr, "%s\n%s", PrintableMessage(ExportPartFailedText(part.path)).c_str(),
                   ReadText(part.log).c_str());
  const std::string listPath = (folder / (head + "s.txt")).string();
  if (ok && toPng) ok = MoveFrames(parts, target.temporary);
  if (ok && !toPng && (ok = WriteList(listPath, parts))) {
    FfmpegPipe join(JoinArguments(listPath, sound, FixedStepFrameTimeMs(span.first, options.rate),
                                  DurationMs(frameCount, options.rate), target.temporary));
    ok = join.Finish();
    if (!ok) PrintReport(join.Fault());
  }
  RemoveParts(parts, listPath);
  if (InterruptWatch::Signal() != 0) {
    RemoveExportTemporary(target);
    PrintReport(std::string(kExportInterruptedText) + options.outPath);
    interrupts.EndBySignal();
  }
  std::string placeFault;
  ok = ok && (placeFault = PutExportInPlace(target)).empty();
  if (!ok) RemoveExportTemporary(target);
  if (!placeFault.empty()) PrintReport(placeFault);
  PrintReport(std::string(ok ? kExportWroteText : kExportFailedText) + options.outPath);
  return ok ? 0 : 1;
}
