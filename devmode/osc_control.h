#pragma once
// The remote control: OSC messages over UDP (--osc PORT) that edit the live set, pick presets, seek and
// pause the demo, ask for values and follow the demo's time. Messages are taken once per frame, before
// it is drawn, on the program's own thread, so an edit lands between two frames as a window's does.
// Each edit goes the tweak window's way (its checks, its undo steps, the unsaved marker); a message that
// is malformed, unknown or out of range changes nothing and is counted in the notice line.
//
// The address space (NAME: a parameter's name after its type prefix, as BG_r):
//   /quarnel/param/NAME f        base value        /quarnel/preset i  pick a loaded preset
//   /quarnel/param/NAME/form i   oscillator form   /quarnel/time i    seek to a demo time (ms)
//   /quarnel/param/NAME/osc1 f   oscillator x      /quarnel/play i    0 pauses, 1 plays
//   /quarnel/param/NAME/osc2 f   oscillator y      /quarnel/follow s i  stream /quarnel/time i to host:port
//   /quarnel/morph f             the morph slider's share 0..1 towards the preset picked to morph to
// Each of them without an argument asks: the reply, the same address with the value now, goes back to
// the sender. /quarnel/follow HOST 0 ends the streams to HOST; /quarnel/follow alone answers how many
// there are. A run of morph messages is one gesture (one undo step), as a drag of the slider is; the
// morph asked answers 0 between gestures. Numbers may come as any OSC number type; a whole number ('i')
// must be one.
#include <cstdint>
#include <string>
#include <vector>

#include "devmode/osc_endpoint.h"

struct DevDocument;

inline constexpr size_t kOscMaxFollowers = 8;
// A flood is taken in parts: at most this many datagrams a frame, the rest at the next ones.
inline constexpr int kOscMaxDatagramsPerFrame = 1000;

struct OscControl {
  OscEndpoint endpoint;
  std::vector<OscPeer> followers;
  int refused = 0;
  std::string lastRefused;  // "/quarnel/param/BG_r 300: value outside the parameter's range"
};

// Development mode, once the tweak window is attached: listens on address and port; "" or the message
// why not ("OSC: cannot listen on 127.0.0.1 port 9000: Address already in use").
[[nodiscard]] std::string StartOsc(DevDocument& document, const std::string& address, uint16_t port);

// Before a frame is drawn: the messages waiting, taken in order.
void PollOsc(DevDocument& document);
// After a frame: its demo time to every follower.
void FollowOsc(DevDocument& document);
