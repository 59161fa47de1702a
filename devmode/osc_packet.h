#pragma once
// OSC packets as bytes and back, through liblo: a datagram read into its messages (a bundle's, nested
// ones too, in order; their time tags are not waited for), and a message written for sending. No
// network here.
#include <cstdint>
#include <string>
#include <vector>

// One argument: its OSC type tag, and its value as a number ('i', 'h', 'f', 'd') or a text ('s', 'S').
// Other types keep only their tag.
struct OscArg {
  char type = 'i';
  double number = 0;
  std::string text;
};

struct OscMessage {
  std::string path;
  std::vector<OscArg> args;
};

OscArg OscInt(int32_t value);
OscArg OscFloat(float value);
OscArg OscString(const std::string& value);

// The messages of one datagram, appended to messages; "" or why it is no OSC packet (then nothing is
// appended: a bundle with one broken element is refused whole).
[[nodiscard]] std::string ReadOscPacket(const std::vector<uint8_t>& datagram, std::vector<OscMessage>& messages);

// The datagram of one message; empty when liblo cannot write it.
std::vector<uint8_t> WriteOscMessage(const OscMessage& message);

// "liblo 0.31": the OSC library the program runs on, for quarnel --version.
std::string OscLibraryVersionText();
