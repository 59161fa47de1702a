#include "devmode/osc_endpoint.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "devmode/devmode_messages.h"

namespace {

// The largest UDP payload: no datagram is cut.
constexpr size_t kMaxDatagramBytes = 65535;

struct AddressList {
  addrinfo* first = nullptr;
  ~AddressList() {
    if (first) freeaddrinfo(first);
  }
};

}  // namespace

bool OscPeer::operator==(const OscPeer& other) const {
  return length == other.length && std::memcmp(&address, &other.address, length) == 0;
}

bool OscPeer::SameHost(const OscPeer& other) const {
  if (address.ss_family != other.address.ss_family) return false;
  if (address.ss_family == AF_INET6)
    return std::memcmp(&reinterpret_cast<const sockaddr_in6&>(address).sin6_addr,
                       &reinterpret_cast<const sockaddr_in6&>(other.address).sin6_addr, sizeof(in6_addr)) == 0;
  return reinterpret_cast<const sockaddr_in&>(address).sin_addr.s_addr ==
         reinterpret_cast<const sockaddr_in&>(other.address).sin_addr.s_addr;
}

OscEndpoint::~OscEndpoint() {
  if (socket_ >= 0) close(socket_);
}

std::string OscEndpoint::Listen(const std::string& address, uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  hints.ai_flags = AI_NUMERICSERV;
  AddressList found;
  const std::string service = std::to_string(port);
  if (const int fault = getaddrinfo(address.c_str(), service.c_str(), &hints, &found.first); fault != 0)
    return gai_strerror(fault);
  std::string fault = kOscNoAddress;
  for (const addrinfo* each = found.first; each; each = each->ai_next) {
    const int socket = ::socket(each->ai_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0) {
      fault = std::strerror(errno);
      continue;
    }
    if (bind(socket, each->ai_addr, each->ai_addrlen) == 0) {
      socket_ = socket;
      family_ = each->ai_family;
      return "";
    }
    fault = std::strerror(errno);
    close(socket);
  }
  return fault;
}

uint16_t OscEndpoint::Port() const {
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  if (socket_ < 0 || getsockname(socket_, reinterpret_cast<sockaddr*>(&bound), &length) != 0) return 0;
  return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(bound).sin6_port
                                           : reinterpret_cast<const sockaddr_in&>(bound).sin_port);
}

bool OscEndpoint::Receive(std::vector<uint8_t>& datagram, OscPeer& sender) {
  if (socket_ < 0) return false;
  if (buffer_.empty()) buffer_.resize(kMaxDatagramBytes);
  sender.length = sizeof sender.address;
  const ssize_t size = recvfrom(socket_, buffer_.data(), buffer_.size(), 0,
                                reinterpret_cast<sockaddr*>(&sender.address), &sender.length);
  if (size < 0) return false;
  datagram.assign(buffer_.begin(), buffer_.begin() + size);
  return true;
}

void OscEndpoint::Send(const OscPeer& to, const std::vector<uint8_t>& datagram) {
  if (socket_ < 0 || datagram.empty()) return;
  (void)sendto(socket_, datagram.data(), datagram.size(), MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&to.address),
               to.length);
}

std::string OscEndpoint::Peer(const std::string& host, uint16_t port, OscPeer& peer) const {
  const bool six = family_ == AF_INET6;
  const std::string numeric = host == "localhost" ? (six ? "::1" : "127.0.0.1") : host;
  peer = OscPeer{};
  if (six) {
    sockaddr_in6& address = reinterpret_cast<sockaddr_in6&>(peer.address);
    address.sin6_family = AF_INET6;
    address.sin6_port = htons(port);
    if (inet_pton(AF_INET6, numeric.c_str(), &address.sin6_addr) != 1) return kOscNotIPv6;
    peer.length = sizeof address;
  } else {
    sockaddr_in& address = reinterpret_cast<sockaddr_in&>(peer.address);
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, numeric.c_str(), &address.sin_addr) != 1) return kOscNotIPv4;
    peer.length = sizeof address;
  }
  return "";
}
