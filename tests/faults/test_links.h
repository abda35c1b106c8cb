// Faults of the app side's adapters, each undone when it goes out of scope,
// also when the test fails: the tests that run after it in the same test
// network need the links as they were.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Takes an adapter down; brings it up again with the default route that the
// test network had through it.
class LinkDown {
 public:
  explicit LinkDown(std::string name);
  ~LinkDown();
  LinkDown(const LinkDown&) = delete;
  LinkDown& operator=(const LinkDown&) = delete;
  bool Done() const { return done_; }

 private:
  std::string name_;
  bool done_ = false;
};

// Extra adapters with addresses 10.77.1.10, 10.77.1.11, ...: each is one end
// of a veth pair whose other end, without an address, stays in the same
// namespace, so what goes out through them never leaves it.
class ExtraAdapters {
 public:
  explicit ExtraAdapters(int count);
  ~ExtraAdapters();
  ExtraAdapters(const ExtraAdapters&) = delete;
  ExtraAdapters& operator=(const ExtraAdapters&) = delete;
  bool Done() const { return done_; }
  // The ends with an address.
  const std::vector<std::string>& Names() const { return names_; }
  // Datagrams sent through the adapter so far, from the kernel's counter.
  static std::uint64_t SentThrough(const std::string& name);

 private:
  std::vector<std::string> names_;
  bool done_ = true;
};
