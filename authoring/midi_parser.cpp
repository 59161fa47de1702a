#include "authoring/midi_parser.h"

namespace {

constexpr uint8_t kNoteOff = 0x80, kNoteOn = 0x90, kControlChange = 0xB0, kProgramChange = 0xC0,
                  kChannelPressure = 0xD0, kPitchBend = 0xE0;
constexpr uint8_t kSystemExclusive = 0xF0, kEndOfExclusive = 0xF7, kFirstRealTime = 0xF8;
constexpr int kFinePairs = 32;  // controls 0..31 pair with 32..63
constexpr double kCoarseTop = 127.0, kFineTop = 16383.0;

// How many data bytes a channel message of this status carries.
int DataBytes(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return kind == kProgramChange || kind == kChannelPressure ? 1 : 2;
}

}  // namespace

std::array<std::array<int8_t, 32>, 16> MidiParser::MakeHighs() {
  std::array<std::array<int8_t, 32>, 16> highs{};
  for (auto& channel : highs) channel.fill(-1);
  return highs;
}

void MidiParser::Feed(std::span<const uint8_t> bytes, const std::function<void(const MidiEvent&)>& onEvent) {
  for (const uint8_t byte : bytes) {
    if (byte >= kFirstRealTime) continue;  // clock, start, stop, sensing: between any two bytes
    if (byte & 0x80) {
      dataCount_ = 0;
      inSystemExclusive_ = byte == kSystemExclusive;
      // A system message (exclusive or common) ends the running status; its data bytes are skipped.
      status_ = byte < kSystemExclusive ? byte : 0;
      if (byte == kEndOfExclusive) inSystemExclusive_ = false;
      continue;
    }
    if (inSystemExclusive_ || status_ == 0) continue;
    data_[dataCount_++] = byte;
    if (dataCount_ < DataBytes(status_)) continue;
    Finish(onEvent);
    dataCount_ = 0;  // the status stays: running status
  }
}

void MidiParser::Finish(const std::function<void(const MidiEvent&)>& onEvent) {
  const uint8_t kind = status_ & 0xF0;
  const uint8_t channel = status_ & 0x0F;
  MidiEvent event;
  event.channel = channel;
  switch (kind) {
    case kNoteOn:
      if (data_[1] == 0) return;  // velocity 0: a note off
      event.kind = MidiEventKind::Note;
      event.number = data_[0];
      event.position = data_[1] / kCoarseTop;
      break;
    case kPitchBend:
      event.kind = MidiEventKind::Bend;
      event.position = (data_[1] * 128 + data_[0]) / kFineTop;
      event.fine = true;
      break;
    case kControlChange: {
      const uint8_t number = data_[0], value = data_[1];
      event.kind = MidiEventKind::Control;
      if (number < kFinePairs) {
        high_[channel][number] = static_cast<int8_t>(value);
        event.number = number;
        event.fine = fine_[channel][number];
        event.position = event.fine ? value * 128 / kFineTop : value / kCoarseTop;
      } else if (number < 2 * kFinePairs && high_[channel][number - kFinePairs] >= 0) {
        const int paired = number - kFinePairs;
        fine_[channel][paired] = true;
        event.number = static_cast<uint8_t>(paired);
        event.fine = true;
        event.position = (high_[channel][paired] * 128 + value) / kFineTop;
      } else {
        event.number = number;
        event.position = value / kCoarseTop;
      }
      break;
    }
    case kNoteOff:
    default: return;  // note off, aftertouch, program change, channel pressure: not used
  }
  onEvent(event);
}
