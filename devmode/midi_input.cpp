#include "devmode/midi_input.h"

#include <fcntl.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "devmode/devmode_messages.h"

namespace {

// Bytes kept while no frame takes them (a message box open): far more than a few seconds of knob turning.
constexpr size_t kMaxQueuedBytes = 1 << 16;

RtMidi::Api ApiOf(MidiSystem system) {
  switch (system) {
    case MidiSystem::Alsa: return RtMidi::LINUX_ALSA;
    case MidiSystem::Jack: return RtMidi::UNIX_JACK;
    case MidiSystem::Any: break;
  }
  return RtMidi::UNSPECIFIED;
}

// The systems to try, in order.
std::vector<RtMidi::Api> ApisFor(MidiSystem system) {
  if (system != MidiSystem::Any) return {ApiOf(system)};
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  return compiled;
}

// While it lives, standard error goes nowhere: the MIDI systems' libraries print their own lines when
// there is no sequencer or no JACK server, and the notice line already says what was found.
class QuietStandardError {
 public:
  QuietStandardError() {
    std::fflush(stderr);
    std::cerr.flush();
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0) return;
    saved_ = dup(STDERR_FILENO);
    if (saved_ >= 0) dup2(nowhere, STDERR_FILENO);
    close(nowhere);
  }
  ~QuietStandardError() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    std::cerr.flush();
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace

std::string MidiInput::Open(MidiSystem system, std::unique_ptr<MidiInput>& input, std::vector<std::string>* listening) {
  std::string fault = kNoticeNoMidiSystem;
  const QuietStandardError quiet;
  for (const RtMidi::Api api : ApisFor(system)) {
    std::unique_ptr<MidiInput> opened(new MidiInput());
    try {
      auto own = std::make_unique<RtMidiIn>(api, kMidiClientName);
      own->setCallback(&MidiInput::Received, opened.get());
      own->openVirtualPort(kMidiPortName);
      const unsigned count = own->getPortCount();
      opened->ports_.push_back(std::move(own));
      for (unsigned port = 0; port < count; ++port) {
        auto device = std::make_unique<RtMidiIn>(api, kMidiClientName);
        const std::string name = device->getPortName(port);
        device->setCallback(&MidiInput::Received, opened.get());
        device->openPort(port, kMidiPortName);
        if (listening) listening->push_back(name);
        opened->ports_.push_back(std::move(device));
      }
    } catch (const RtMidiError& error) {
      fault = kNoticeNoMidiSystem + std::string(": ") + error.getMessage();
      if (listening) listening->clear();
      continue;
    }
    input = std::move(opened);
    return "";
  }
  return fault;
}

MidiInput::~MidiInput() { ports_.clear(); }

std::vector<uint8_t> MidiInput::TakeBytes() {
  std::vector<uint8_t> taken;
  std::lock_guard lock(mutex_);
  taken.swap(bytes_);
  return taken;
}

void MidiInput::Received(double, std::vector<unsigned char>* message, void* self) {
  MidiInput& input = *static_cast<MidiInput*>(self);
  std::lock_guard lock(input.mutex_);
  if (input.bytes_.size() + message->size() > kMaxQueuedBytes) return;  // whole messages only
  input.bytes_.insert(input.bytes_.end(), message->begin(), message->end());
}
