// A site of fake devices behind the apply's link, for playing whole plans
// without a network. Devices confirm, ignore changes, refuse an address in
// use, answer late (after every change, or after the first only), vanish
// with their change, go quiet where they are, refuse to go back, or cannot
// be reached (their requests leave through no adapter); hosts that speak
// only ARP and cameras that answer only ONVIF hold addresses too, and the
// neighbour table names who holds an address, or who left it.
// Every request is checked as it is sent: no device is ever asked for an
// address that another device or host shows, or that another device was
// asked for and has not been seen to leave.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/network/discovery.h"

namespace cli {

enum class Behaviour {
  Confirms,
  Ignores,
  RefusesInUse,
  Late,
  SlowOnce,
  Vanishes,
  Quiet,
  FailsReturn,
  Unreachable,
};

class FakeSite : public ApplyLink {
 public:
  void AddDevice(const FoundDevice& device, Behaviour behaviour);
  // A host that answers only ARP; returns its MAC.
  MacAddress AddArpHost(std::uint32_t domain, std::uint32_t address);
  // A neighbour entry left behind by `mac`, which is no longer there.
  void AddStaleEntry(std::uint32_t domain, std::uint32_t address,
                     const MacAddress& mac);
  // An ONVIF answer `facts` heard in `domain`: from device `with`, merged
  // with it by the neighbour MAC, at wherever that device is, else from a
  // camera that stays at facts.address.
  void AddOnvifAnswer(std::uint32_t domain, const OnvifFacts& facts,
                      std::optional<MacAddress> with);
  // An answer of the device `mac` that states its MAC and lists, wherever
  // the device goes, the fixed address in `facts` (a second one of its own).
  void AddStatedAnswer(std::uint32_t domain, const OnvifFacts& facts,
                       const MacAddress& mac);
  // Every probe from now on cannot check.
  void ProbeFails() { probeFails_ = true; }
  // Addresses probed so far.
  int Probed() const { return probed_; }
  // The link fails from this call of Send or Verify on (counted from 1).
  void FailFromCall(int call) { failFrom_ = call; }

  SendOutcome Send(const std::vector<ChangeRequest>& requests,
                   const SendWatch& watch) override;
  VerifyOutcome Verify(const std::vector<ChangeRequest>& expected,
                       const std::vector<std::uint32_t>& domains,
                       std::chrono::milliseconds limit,
                       const VerifyWatch& watch) override;
  ProbeOutcome Probe(const std::vector<std::uint32_t>& addresses,
                     std::uint32_t domain) override;

  // The first broken rule, empty while none is.
  const std::string& Broken() const { return broken_; }
  // Where the device is now, or none when it no longer answers.
  std::optional<IpSettings> Now(const MacAddress& mac) const;
  // Whether the last search heard the device.
  bool LastHeard(const MacAddress& mac) const { return lastHeard_.count(mac); }
  // Every request sent to the device, in order.
  std::vector<IpSettings> Requests(const MacAddress& mac) const;
  // Pairs of devices on one address that did not start so.
  std::string NewDuplicates() const;
  // How many waves of requests went out.
  int Sends() const { return sends_; }

 private:
  struct Fake {
    FoundDevice device;
    Behaviour behaviour = Behaviour::Confirms;
    std::uint32_t startIp = 0;
    int silentSearches = 0;  // searches it has yet to miss
    bool gone = false;
    std::vector<IpSettings> requests;
    // Addresses it was asked for and has not been seen to leave.
    std::set<std::uint32_t> owed;
  };
  bool Failing();
  // One request reaching its device; how many adapters it left through.
  int Take(const ChangeRequest& request);
  bool HeldByOther(const Fake& self, std::uint32_t address) const;
  // What a device that checks before it takes an address sees.
  bool InUse(const Fake& self, std::uint32_t address) const;
  void Search(std::vector<FoundDevice>* heard);
  // The rows of the ONVIF answers a search hears now.
  std::vector<FoundDevice> OnvifRows() const;

  std::map<MacAddress, Fake> fakes_;
  struct Answer {
    std::uint32_t domain = 0;
    OnvifFacts facts;
    std::optional<MacAddress> with;
    MacSource source = MacSource::Neighbour;
  };
  std::vector<Answer> answers_;
  // What the neighbour table names at (domain, address).
  std::map<std::pair<std::uint32_t, std::uint32_t>, MacAddress> arpHosts_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, MacAddress> stale_;
  bool probeFails_ = false;
  int probed_ = 0;
  std::string broken_;
  int calls_ = 0;
  int sends_ = 0;
  std::set<MacAddress> lastHeard_;
  int failFrom_ = 0;
};

}  // namespace cli
