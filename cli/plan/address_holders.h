// The book of addresses: for each broadcast domain and address, who holds
// it. A device of ours holds the address a search shows it at, and one it
// was asked for until a search shows it elsewhere; an ONVIF answer holds
// the address it is heard at; a host that the link check finds answering
// ARP holds its address for good. The apply keeps the book as it goes, its
// temporary addresses are taken from what the book leaves, and the plan's
// judgement and `set` fill the same book from the search they read. An
// address is vacant for a device when nobody else holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/device/found_device.h"
#include "cli/device/onvif_holders.h"
#include "core/validation/change_check.h"

namespace cli {

// What holds an address.
enum class Holder {
  Device,  // ours, listed or heard later: a search shows where it went
  Host,    // something the link check found answering ARP: it stays
  // An ONVIF answer heard there: it holds the address until a search of its
  // domain hears no answer of it there.
  Onvif,
};

constexpr std::size_t NO_MOVE = static_cast<std::size_t>(-1);

// An address of a broadcast domain.
using AddressKey = std::uint64_t;
inline AddressKey KeyOf(std::uint32_t domain, std::uint32_t address) {
  return static_cast<AddressKey>(domain) << 32 | address;
}

struct AddressHolder {
  MacAddress mac{};
  std::uint32_t domain = 0;
  // The addresses it may hold: booked for it and no other.
  std::vector<std::uint32_t> may;
  Holder kind = Holder::Device;
  std::string label;  // how messages name an Onvif holder
  // The device of ours an Onvif holder was merged with by the neighbour
  // table's MAC alone: its answer may move with that device.
  std::optional<std::size_t> tiedTo;
  std::size_t move = NO_MOVE;  // the change that moves it, if any
  // Where a search last heard it, and which search that was.
  std::optional<IpSettings> lastSeen;
  std::size_t seenInSearch = 0;
};

class AddressHolders {
 public:
  static constexpr std::size_t NOBODY = static_cast<std::size_t>(-1);

  // Every device of ours at the address the search shows it at, and every
  // ONVIF answer at the address it lists (BookAnswer).
  explicit AddressHolders(const std::vector<FoundDevice>& shown);
  // The address an ONVIF answer lists, booked for the answer; for the
  // device itself when the answer states its MAC (the address, which may
  // differ from the one our reply shows, goes where the device goes).
  // Returns the holder it booked, or NOBODY.
  std::size_t BookAnswer(const OnvifHolder& holder);

  // The holder with `mac`, added in `domain` when new.
  std::size_t Of(const MacAddress& mac, std::uint32_t domain);
  // The holder of an ONVIF answer, added when new under a MAC no device
  // has.
  std::size_t OnvifOf(const OnvifHolder& holder);
  // The holder with `mac`, or NOBODY.
  std::size_t Find(const MacAddress& mac) const;

  void Book(std::size_t holder, std::uint32_t address);
  // It holds `may` and nothing else now; returns the addresses it let go.
  std::vector<std::uint32_t> Place(std::size_t holder,
                                   const std::vector<std::uint32_t>& may);

  // Held by nobody but `self` (NOBODY: by nobody at all).
  bool Vacant(std::uint32_t domain, std::uint32_t address,
              std::size_t self) const;
  // Every holder of `address`, in the order they booked it.
  const std::vector<std::size_t>& At(std::uint32_t domain,
                                     std::uint32_t address) const;
  // A holder of `address` other than `self`, or NOBODY.
  std::size_t OtherThan(std::uint32_t domain, std::uint32_t address,
                        std::size_t self) const;
  Holder KindOf(const MacAddress& mac) const;

  const AddressHolder& operator[](std::size_t holder) const {
    return holders_[holder];
  }
  AddressHolder& operator[](std::size_t holder) { return holders_[holder]; }
  std::size_t size() const { return holders_.size(); }

  // Whom a lookup counts.
  enum class Counted {
    Everyone,
    Staying,  // the holders no change moves
    Moving,   // the holders a change moves
  };
  // The book of one domain as the change checker reads it, the device being
  // changed told by its MAC.
  class Domain : public AddressLookup {
   public:
    Domain(const AddressHolders& book, std::uint32_t domain, Counted counted)
        : book_(book), domain_(domain), counted_(counted) {}
    const MacAddress* OtherThan(std::uint32_t address,
                                const MacAddress& self) const override;

   private:
    const AddressHolders& book_;
    std::uint32_t domain_;
    Counted counted_;
  };

  // The problem's one-line text, an ONVIF answer that holds the address
  // named by its label rather than by a MAC it does not state.
  std::string ProblemText(const ChangeProblem& problem) const;

 private:
  std::vector<AddressHolder> holders_;
  std::unordered_map<std::uint64_t, std::size_t> ofMac_;
  std::unordered_map<AddressKey, std::vector<std::size_t>> bookers_;
  // The Onvif holders by domain and identity.
  std::unordered_map<std::string, std::size_t> onvifOf_;
};

}  // namespace cli
