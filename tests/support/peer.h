// What the simulated peer on the other end of the test link saw and did: its
// output lines, read from the file that netpeer.sh names.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Every line the peer has printed so far.
std::vector<std::string> PeerLines();
// The value of "key" in a one-line JSON object: a string's text or a number's
// digits; empty when absent.
std::string JsonField(const std::string& line, const std::string& key);

// The nested object {...} under "key", or empty.
std::string JsonObject(const std::string& line, const std::string& key);

struct PeerDatagram {
  std::string from;  // dotted sender address
  int port = 0;
  std::size_t size = 0;
  std::vector<std::uint8_t> bytes;
};
// The datagrams the peer received, in order, from output line `fromLine` on
// (a test passes the line count it saw when it began).
std::vector<PeerDatagram> PeerDatagrams(std::size_t fromLine = 0);

// Polls `done` every 20 ms until it holds or `limit` passes.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds limit);

// Fails the current test (and returns false) unless every adapter address is
// on the private test links: nothing may broadcast on a real network.
bool OnIsolatedTestNetwork();
