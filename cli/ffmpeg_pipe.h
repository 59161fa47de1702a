#pragma once
// The ffmpeg program started with its standard input on a pipe of ours.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

// A file name as an ffmpeg argument: with the "file:" protocol in front, so that a name holding a colon
// ("demo:v2/x.mp3") is not read as another protocol, nor one starting with '-' as an option.
inline std::string FfmpegFileName(const std::string& path) { return "file:" + path; }

class FfmpegPipe {
 public:
  // Starts "ffmpeg" + arguments (no shell: each argument is passed as it is). Failure shows in Running()
  // and Fault().
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
  // Why ffmpeg did not start, stopped reading or failed (its exit status or the signal that ended it,
  // other than our own Interrupt); empty while nothing went wrong.
  std::string Fault() const { return exitFault_.empty() ? writeFault_ : exitFault_; }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  bool interrupted_ = false;
  std::string writeFault_, exitFault_;
};
