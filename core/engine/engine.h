// The discovery engine: one listening socket on port 64988, one sending socket
// per local IPv4 adapter, and a receive thread that hands every datagram to a
// callback and answers search requests with the built-in test reply.
//
// Process-wide: at most one engine runs at a time. Start, send and stop are
// meant for one thread (the user-interface thread); they are also safe to call
// from others.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/engine/net.h"
#include "core/protocol/datagram.h"

// Called on the receive thread with the zero-filled 256-byte receive buffer
// (the datagram at its start), the length of the sender's socket address (16
// for IPv4), the sender, and the index of the local interface the datagram
// arrived on (net::Adapter::index; 0 when the system did not say). The
// buffer is reused after the call returns. The callback carries its own
// context (a capturing lambda); an empty one ignores every datagram.
using DiscoveryCallback = std::function<void(
    const std::uint8_t* buffer, std::int32_t senderLength,
    const net::Endpoint& sender, std::uint32_t ingressIndex)>;

// Which adapters the requests leave through: every adapter that has an
// address, or only those with the given local addresses (numeric form): the
// adapters of one broadcast domain, say.
struct AdapterChoice {
  std::vector<std::uint32_t> only;  // empty: every adapter
};

// 1 when the engine has started; 0 when it was already running, the port is
// taken (after the port conflict report) or the adapters could not be listed,
// or the chosen adapter is not among them (after its message). The messages
// are shown after the engine's lock is released, so a message loop that
// runs meanwhile may call the engine.
std::int32_t DiscoveryStart(DiscoveryCallback callback,
                            AdapterChoice adapters = {});
// Broadcasts one request through every chosen adapter. Returns how many
// adapters it left through: 0 while the engine is stopped, and 0 when every
// send failed (a firewall rule, a link without a route).
std::int32_t DiscoverySend(std::uint32_t command, const DeviceInfo* body);
// Ends the receive thread and closes every socket. No callback runs after it
// returns.
void DiscoveryStop();

bool DiscoveryRunning();

// The listening socket asks for this much receive buffer, so that a burst of
// replies from thousands of devices answering at once waits in the socket
// rather than being lost (the system may grant less).
constexpr int LISTEN_RECEIVE_BUFFER = 8 << 20;
