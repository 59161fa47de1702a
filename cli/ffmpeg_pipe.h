#pragma once
// The ffmpeg program started with its standard input on a pipe of ours.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

class FfmpegPipe {
 public:
  // Starts "ffmpeg" + arguments (no shell: each argument is passed as it is). Failure shows in Running().
  explicit FfmpegPipe(const std::vector<std::string>& arguments);
  ~FfmpegPipe();  // Stop()
  FfmpegPipe(const FfmpegPipe&) = delete;
  FfmpegPipe& operator=(const FfmpegPipe&) = delete;

  bool Running() const { return pid_ > 0; }
  // Writes all bytes; false when ffmpeg is not running or stopped reading.
  bool Write(const void* bytes, size_t count);
  // Closes the pipe and waits for ffmpeg; true when it ended with status 0.
  bool Finish();
  // Ends ffmpeg (SIGTERM) without waiting: a Write in progress on another thread then fails.
  void Interrupt();
  // Interrupt(), then Finish(): ffmpeg writes nothing more.
  void Stop();

 private:
  pid_t pid_ = -1;
  int input_ = -1;
};
