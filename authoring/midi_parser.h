#pragma once
// MIDI bytes as they come from a port (or a file of them) turned into the few events a controller mapping
// uses: control changes, notes struck and pitch bend. Running status is followed (data bytes after a
// channel message repeat its status), real-time bytes (0xF8..0xFF) may fall anywhere and are skipped,
// system exclusive and the other system messages are skipped whole and end the running status.
//
// Fine steps: a control change n (0..31) followed by n + 32 on the same channel is a 14-bit pair, the
// second its seven low bits. Once a low half was seen for n, n is a 14-bit control: its high half alone
// gives the value with the low bits cleared (as MIDI says), the low half completes it. A change n + 32
// with no high half of n seen before is an ordinary 7-bit control of its own. Pitch bend is 14 bits.
#include <array>
#include <cstdint>
#include <functional>
#include <span>

enum class MidiEventKind : uint8_t { Control, Note, Bend };

struct MidiEvent {
  MidiEventKind kind = MidiEventKind::Control;
  uint8_t channel = 0;  // 0..15 (channel 1..16)
  uint8_t number = 0;   // the controller or note number 0..127; 0 for a bend
  double position = 0;  // 0..1: a control's or bend's position, a note's velocity (above 0: struck)
  bool fine = false;    // 14 bits: a pair's value or a bend
};

class MidiParser {
 public:
  // Reads bytes, handing every complete event to onEvent in order. Bytes of an unfinished message wait
  // for the next call.
  void Feed(std::span<const uint8_t> bytes, const std::function<void(const MidiEvent&)>& onEvent);

 private:
  void Finish(const std::function<void(const MidiEvent&)>& onEvent);

  uint8_t status_ = 0;  // the running status: a channel message's status byte, 0 for none
  std::array<uint8_t, 2> data_{};
  int dataCount_ = 0;
  bool inSystemExclusive_ = false;
  // Per channel, for controls 0..31: the last high half (-1: none seen) and whether a low half came.
  std::array<std::array<int8_t, 32>, 16> high_ = MakeHighs();
  std::array<std::array<bool, 32>, 16> fine_{};

  static std::array<std::array<int8_t, 32>, 16> MakeHighs();
};
