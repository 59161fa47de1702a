#pragma once
// MIDI in through RtMidi, development mode only. It opens an input port of its own, "quarnel:in", that
// any program or device can be connected to, and every input port the MIDI system has when it opens
// (devices plugged in later are reached by connecting them to quarnel's port). RtMidi's threads append
// each complete message to a queue guarded by a mutex; the document takes the bytes once per frame, so
// that every edit happens on the main thread.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class RtMidiIn;

enum class MidiSystem { Any, Alsa, Jack };  // Any: the ALSA sequencer, else JACK

inline constexpr char kMidiClientName[] = "quarnel";
inline constexpr char kMidiPortName[] = "in";

class MidiInput {
 public:
  // Opens the input through system. Returns "" with input set, or why there is none (no MIDI system).
  // What it listens to goes to *listening: the devices' port names.
  [[nodiscard]] static std::string Open(MidiSystem system, std::unique_ptr<MidiInput>& input,
                                        std::vector<std::string>* listening = nullptr);
  ~MidiInput();

  // The bytes of the messages received since the last call, in order of arrival.
  std::vector<uint8_t> TakeBytes();

 private:
  MidiInput() = default;
  static void Received(double deltaS, std::vector<unsigned char>* message, void* self);

  std::mutex mutex_;
  std::vector<uint8_t> bytes_;
  std::vector<std::unique_ptr<RtMidiIn>> ports_;  // destroyed first: their threads end before the queue goes
};
