#include "cli/ffmpeg_pipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "cli/cli_messages.h"

extern char** environ;

FfmpegPipe::FfmpegPipe(const std::vector<std::string>& arguments) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    exitFault_ = kFfmpegNotStartedText + std::string(std::strerror(errno));
    return;
  }
  std::vector<char*> argv{const_cast<char*>("ffmpeg")};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
  pid_t pid = -1;
  const int spawnError = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[0]);
  if (spawnError != 0) {
    close(ends[1]);
    exitFault_ = kFfmpegNotStartedText + std::string(std::strerror(spawnError));
    return;
  }
  // Process-wide (README, "Process-wide state"): an ffmpeg that gave up makes the next write fail instead
  // of ending us.
  std::signal(SIGPIPE, SIG_IGN);
  pid_ = pid;
  input_ = ends[1];
}

FfmpegPipe::~FfmpegPipe() { Stop(); }

bool FfmpegPipe::Write(const void* bytes, size_t count) {
  const char* next = static_cast<const char*>(bytes);
  while (input_ >= 0 && count > 0) {
    const ssize_t written = write(input_, next, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (writeFault_.empty()) writeFault_ = kFfmpegStoppedReadingText + std::string(std::strerror(errno));
      return false;
    }
    next += written;
    count -= size_t(written);
  }
  return input_ >= 0;
}

bool FfmpegPipe::Finish() {
  if (pid_ <= 0) return false;
  close(input_);
  input_ = -1;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0 && exitFault_.empty())
    exitFault_ = kFfmpegStatusText + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status) && !(interrupted_ && WTERMSIG(status) == SIGTERM) && exitFault_.empty())
    exitFault_ = kFfmpegSignalText + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void FfmpegPipe::Interrupt() {
  if (pid_ <= 0) return;
  interrupted_ = true;
  kill(pid_, SIGTERM);
}

void FfmpegPipe::Stop() {
  Interrupt();
  Finish();
}
