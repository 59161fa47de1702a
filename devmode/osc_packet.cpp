#include "devmode/osc_packet.h"

#include <lo/lo.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "devmode/devmode_messages.h"

namespace {

constexpr char kBundleTag[] = "#bundle";  // with its NUL: 8 bytes, then an 8-byte time tag
constexpr size_t kBundleHeaderBytes = 16;
constexpr int kMaxBundleDepth = 8;

struct MessageFree {
  void operator()(lo_message message) const { lo_message_free(message); }
};
using MessagePtr = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;

uint32_t BigEndian32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

OscArg ArgOf(char type, const lo_arg& value) {
  OscArg arg;
  arg.type = type;
  switch (type) {
    case LO_INT32: arg.number = value.i; break;
    case LO_INT64: arg.number = static_cast<double>(value.h); break;
    case LO_FLOAT: arg.number = value.f; break;
    case LO_DOUBLE: arg.number = value.d; break;
    case LO_STRING:
    case LO_SYMBOL: arg.text = &value.s; break;
    default: break;
  }
  return arg;
}

std::string ReadMessage(const uint8_t* data, size_t size, std::vector<OscMessage>& messages) {
  std::vector<uint8_t> copy(data, data + size);  // liblo reads from a writable buffer
  int result = 0;
  const MessagePtr message(lo_message_deserialise(copy.data(), copy.size(), &result));
  if (!message) return kOscNotOsc;
  OscMessage read;
  read.path.assign(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));
  const char* types = lo_message_get_types(message.get());
  lo_arg** argv = lo_message_get_argv(message.get());
  for (int i = 0; i < lo_message_get_argc(message.get()); ++i) read.args.push_back(ArgOf(types[i], *argv[i]));
  messages.push_back(std::move(read));
  return "";
}

std::string ReadPacket(const uint8_t* data, size_t size, int depth, std::vector<OscMessage>& messages) {
  if (size < sizeof kBundleTag || std::memcmp(data, kBundleTag, sizeof kBundleTag) != 0)
    return ReadMessage(data, size, messages);
  if (depth >= kMaxBundleDepth || size < kBundleHeaderBytes) return kOscNotOsc;
  for (size_t at = kBundleHeaderBytes; at < size;) {
    if (size - at < 4) return kOscNotOsc;
    const uint32_t elementBytes = BigEndian32(data + at);
    at += 4;
    if (elementBytes % 4 != 0 || elementBytes > size - at) return kOscNotOsc;
    if (std::string fault = ReadPacket(data + at, elementBytes, depth + 1, messages); !fault.empty()) return fault;
    at += elementBytes;
  }
  return "";
}

}  // namespace

OscArg OscInt(int32_t value) { return {LO_INT32, double(value), {}}; }
OscArg OscFloat(float value) { return {LO_FLOAT, value, {}}; }
OscArg OscString(const std::string& value) { return {LO_STRING, 0, value}; }

std::string ReadOscPacket(const std::vector<uint8_t>& datagram, std::vector<OscMessage>& messages) {
  std::vector<OscMessage> read;
  if (std::string fault = ReadPacket(datagram.data(), datagram.size(), 0, read); !fault.empty()) return fault;
  messages.insert(messages.end(), read.begin(), read.end());
  return "";
}

std::vector<uint8_t> WriteOscMessage(const OscMessage& message) {
  const MessagePtr written(lo_message_new());
  for (const OscArg& arg : message.args) {
    switch (arg.type) {
      case LO_INT32: lo_message_add_int32(written.get(), static_cast<int32_t>(arg.number)); break;
      case LO_FLOAT: lo_message_add_float(written.get(), static_cast<float>(arg.number)); break;
      case LO_STRING: lo_message_add_string(written.get(), arg.text.c_str()); break;
      default: return {};
    }
  }
  size_t size = 0;
  void* bytes = lo_message_serialise(written.get(), message.path.c_str(), nullptr, &size);
  if (!bytes) return {};
  std::vector<uint8_t> datagram(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + size);
  std::free(bytes);
  return datagram;
}

std::string OscLibraryVersionText() {
  char version[32] = "";
  int major = 0, minor = 0, abiMajor = 0, abiMinor = 0, abiFix = 0;
  lo_version(version, sizeof version, &major, &minor, nullptr, 0, &abiMajor, &abiMinor, &abiFix);
  return std::string("liblo ") + version;
}
