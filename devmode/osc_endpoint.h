#pragma once
// The UDP socket the remote control listens on: bound to one address (the loopback one unless another is
// given), read without waiting, and the senders' and followers' addresses to write to. Names are
// resolved only when listening starts; a peer is a numeric address or "localhost", so that nothing
// here waits on a name server while frames are drawn.
#include <sys/socket.h>

#include <cstdint>
#include <string>
#include <vector>

struct OscPeer {
  sockaddr_storage address{};
  socklen_t length = 0;
  bool operator==(const OscPeer& other) const;
  bool SameHost(const OscPeer& other) const;  // the same address, whatever the ports
};

class OscEndpoint {
 public:
  OscEndpoint() = default;
  OscEndpoint(const OscEndpoint&) = delete;
  OscEndpoint& operator=(const OscEndpoint&) = delete;
  ~OscEndpoint();

  // Listens on address (a name or a numeric address) and port (0: one the system picks); "" or why not.
  [[nodiscard]] std::string Listen(const std::string& address, uint16_t port);
  uint16_t Port() const;  // the port listened on; 0 before Listen succeeded

  // The next datagram waiting, and who sent it; false when none waits (or the socket failed).
  bool Receive(std::vector<uint8_t>& datagram, OscPeer& sender);
  // Sends without waiting; a datagram the network drops is lost, as UDP's are.
  void Send(const OscPeer& to, const std::vector<uint8_t>& datagram);

  // host (a numeric address of the family listened on, or "localhost") and port as a peer; "" or why not.
  [[nodiscard]] std::string Peer(const std::string& host, uint16_t port, OscPeer& peer) const;

 private:
  int socket_ = -1;
  int family_ = AF_INET;
  std::vector<uint8_t> buffer_;  // room for the largest datagram, made once
};
