// MIDI from another program to the live set, end to end: a private JACK server with its dummy driver
// (no sound card), quarnel's input port opened on it, and a second client's output port connected to
// that port sending a control change. Skips, saying why, where no JACK server can run.
#include <gtest/gtest.h>

#include <rtmidi/RtMidi.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "controller_document.h"
#include "support/poll_until.h"
#include "support/test_paths.h"

extern char** environ;

namespace {

// A JACK server of its own (a name no other test or session uses), ended with the test.
class JackServer {
 public:
  JackServer() {
    const std::string name = "quarnel-test-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);  // clients never start one of their own
    logPath_ = TestOutPath("jackd-" + name + ".log");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    char* argv[] = {const_cast<char*>("jackd"), const_cast<char*>("--no-realtime"), const_cast<char*>("-d"),
                    const_cast<char*>("dummy"), nullptr};
    if (posix_spawnp(&pid_, "jackd", &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~JackServer() {
    if (pid_ <= 0) return;
    if (Running()) kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  bool Started() const { return pid_ > 0; }
  bool Running() {
    if (pid_ <= 0 || exited_) return false;
    exited_ = waitpid(pid_, nullptr, WNOHANG) == pid_;
    if (exited_) pid_ = -1;
    return !exited_;
  }
  std::string Log() const { return ReadFile(logPath_); }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  std::string logPath_;
};

class MidiThroughJack : public Controllers {};

TEST_F(MidiThroughJack, ControlChangeFromAnotherProgramReachesTheLiveSet) {
  JackServer server;
  if (!server.Started()) GTEST_SKIP() << "jackd could not be started (is the jackd2 package installed?)";
  WriteFile(file, "cc 1 21 base 0 0 255 at 0\n");
  Attach();
  // Ready once quarnel's port opens on it; a server that ends on its own cannot run here.
  const bool opened = PollUntil([&] {
    if (!server.Running()) return true;
    OpenMidiInput(document, MidiSystem::Jack);
    return document.controllers.input != nullptr;
  });
  if (!server.Running()) GTEST_SKIP() << "no JACK server can run in this environment: " << server.Log();
  ASSERT_TRUE(opened) << "quarnel's MIDI port did not open on the JACK server: " << tweak.controls.notice;

  RtMidiOut controller(RtMidi::UNIX_JACK, "controller-test");
  const std::string portName = std::string(kMidiClientName) + ":" + kMidiPortName;
  std::optional<unsigned> port;
  for (unsigned i = 0; i < controller.getPortCount(); ++i)
    if (controller.getPortName(i).find(portName) != std::string::npos) port = i;
  ASSERT_TRUE(port) << portName << " is not among the JACK server's MIDI inputs";
  controller.openPort(*port, "out");
  // From the bottom (below BG_r's 10: soft takeover) to the top, until a frame has taken it.
  EXPECT_TRUE(PollUntil([&] {
    for (const unsigned char value : {0, 127}) {
      const std::vector<unsigned char> message{0xB0, 21, value};
      controller.sendMessage(&message);
    }
    ControllersFrame(document);
    return Base(0) == 255;
  }));
  EXPECT_TRUE(LiveSetUnsaved(tweak));
  controller.closePort();
  document.controllers.input.reset();  // quarnel's client leaves before the server ends
}

}  // namespace
