// The broadcast domains that one host reaches, as a search's replies show
// them. Adapters that heard the same device are one domain (two cards on
// one LAN, or a trunk's VLANs that meet): a union of the interfaces over
// every device heard. New devices come with the same factory address on
// every VLAN, so an address is shared, taken or free only within a domain,
// and a change request leaves only through its device's domain.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/devices/ingress_record.h"
#include "core/engine/local_adapters.h"

// Where a device sits, seen from this host. Adapter and reach follow from
// the domain alone, not from which of its adapters a reply happened to come
// in on: a copy of a reply lost on one card does not move the device.
struct Placement {
  // The domain, named by the lowest interface index in it; 0 for a device
  // never heard.
  std::uint32_t domain = 0;
  // The lowest address among the domain's adapters; 0 when none of them has
  // an address (the device cannot be reached from here).
  std::uint32_t adapter = 0;
  // The lowest address among the domain's adapters whose subnet holds the
  // device's address; 0 for none (its web page does not open from here).
  std::uint32_t reachableFrom = 0;
};

class BroadcastDomains {
 public:
  BroadcastDomains() = default;
  BroadcastDomains(std::vector<LocalAdapter> adapters,
                   const IngressRecord& heard);

  // Joins the domains `later` shows to these: interfaces that either shows
  // in one domain are one from now on, so a search in which no device was
  // heard on two cards of one LAN does not split it. The adapters become
  // `later`'s, this host's newer view of them.
  void Unite(const BroadcastDomains& later);

  // Where a device with `address`, heard on the interfaces `heardOn`, sits.
  Placement Place(std::uint32_t address,
                  const std::vector<std::uint32_t>& heardOn) const;
  // The addresses of the domain's adapters that have one, lowest first.
  std::vector<std::uint32_t> AdapterAddresses(std::uint32_t domain) const;

 private:
  std::uint32_t DomainOf(std::uint32_t interfaceIndex) const;

  std::vector<LocalAdapter> adapters_;
  // Each interface's domain, by its lowest interface index.
  std::unordered_map<std::uint32_t, std::uint32_t> domainOf_;
};
