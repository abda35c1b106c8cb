// Recognises the simulator's own broadcasts when they come back to its socket,
// so that the datagram log shows only what others sent. Best effort: a send
// that never comes back is forgotten after a while.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <utility>

#include "tools/devsim/schedule.h"

namespace devsim {

class EchoFilter {
 public:
  EchoFilter(Micros keepFor, std::size_t capacity);
  void Remember(const std::uint8_t* data, std::size_t size, Micros now);
  // True, and forgets one copy, when the bytes match a remembered send.
  bool TakeEcho(const std::uint8_t* data, std::size_t size, Micros now);

 private:
  void Forget(Micros now);

  Micros keepFor_;
  std::size_t capacity_;
  std::unordered_map<std::string, std::size_t> waiting_;
  std::deque<std::pair<Micros, std::string>> sent_;
};

}  // namespace devsim
