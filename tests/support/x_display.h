#pragma once
// A private X server (Xvfb, 1024×768 unless asked otherwise, 24 bits, white root window) for one test, and child
// processes run on it. The server's number is chosen by the server itself, so tests can run side by side.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Starts a program with its standard output and error going to outputPath, and its settings (the
// launcher's kept choices) in a folder "config" beside that file, so that no test sees another's.
inline pid_t StartProcess(const std::vector<std::string>& argv, const std::string& outputPath) {
  const size_t slash = outputPath.rfind('/');
  const std::string config = (slash == std::string::npos ? std::string(".") : outputPath.substr(0, slash)) + "/config";
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

// The exit status once the process has ended within timeoutMs; nothing otherwise (it keeps running).
inline std::optional<int> WaitForExit(pid_t pid, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < end);
  return std::nullopt;
}

inline void StopProcess(pid_t pid, int signal = SIGKILL) {
  if (pid <= 0) return;
  kill(pid, signal);
  waitpid(pid, nullptr, 0);
}

class XDisplay {
 public:
  // Starts the server with screen (WxHxDEPTH) and points DISPLAY at it; Ready() tells whether that worked.
  explicit XDisplay(const char* screen = "1024x768x24") {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-wr", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    std::string number;
    pollfd wait{ready[0], POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, 5000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (number.empty()) return;
    setenv("DISPLAY", (":" + number).c_str(), 1);
    ready_ = true;
  }
  ~XDisplay() { StopProcess(pid_, SIGTERM); }  // lets the server remove its lock file
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  bool Ready() const { return ready_; }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
};
