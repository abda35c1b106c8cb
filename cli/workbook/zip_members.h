// The members of a zip held in memory, read with minizip: a workbook is a
// zip of XML parts. What is unpacked is bounded, since a workbook may come
// from anywhere: a member that would unpack to more than 64 MiB, or to more
// than a hundred times its packed size, is refused as a zip bomb.
#pragma once

#include <memory>
#include <string>

namespace cli {

constexpr unsigned long long MAX_MEMBER_SIZE = 64ull << 20;
constexpr unsigned long long MAX_MEMBER_RATIO = 100;
// Members below this size are not held to the ratio: however well the
// XML of a small part packs, it cannot exhaust anything.
constexpr unsigned long long RATIO_FLOOR = 1ull << 20;

enum class MemberRead {
  Ok,
  Missing,    // no member of that name
  Bomb,       // over the bounds above
  Encrypted,  // needs a password
  Damaged,    // the zip or the member's data is broken
};

struct Member {
  MemberRead status = MemberRead::Damaged;
  std::string bytes;  // when Ok
};

class ZipMembers {
 public:
  // `bytes` must outlive the object.
  explicit ZipMembers(const std::string& bytes);
  ~ZipMembers();
  ZipMembers(const ZipMembers&) = delete;
  ZipMembers& operator=(const ZipMembers&) = delete;

  // False when `bytes` is no zip minizip can open.
  bool Opened() const;
  // The member `name` (a path inside the zip, in any case), unpacked.
  Member Read(const std::string& name);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace cli
