#include "tools/devsim/echo_filter.h"

namespace devsim {

EchoFilter::EchoFilter(Micros keepFor, std::size_t capacity)
    : keepFor_(keepFor), capacity_(capacity) {}

void EchoFilter::Forget(Micros now) {
  while (!sent_.empty() &&
         (sent_.size() > capacity_ || sent_.front().first + keepFor_ < now)) {
    auto found = waiting_.find(sent_.front().second);
    if (found != waiting_.end() && --found->second == 0) waiting_.erase(found);
    sent_.pop_front();
  }
}

void EchoFilter::Remember(const std::uint8_t* data, std::size_t size,
                          Micros now) {
  std::string key(reinterpret_cast<const char*>(data), size);
  ++waiting_[key];
  sent_.emplace_back(now, std::move(key));
  Forget(now);
}

bool EchoFilter::TakeEcho(const std::uint8_t* data, std::size_t size,
                          Micros now) {
  Forget(now);
  auto found =
      waiting_.find(std::string(reinterpret_cast<const char*>(data), size));
  if (found == waiting_.end()) return false;
  if (--found->second == 0) waiting_.erase(found);
  return true;
}

}  // namespace devsim
