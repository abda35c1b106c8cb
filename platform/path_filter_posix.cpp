#include <fstream>

#include "platform/path_filter.h"

namespace {

bool ReadSetting(const std::string& interfaceName, int* value) {
  // An interface name never holds a '/', and a dot in it ("eth0.100") is
  // part of the folder's name here.
  std::ifstream file("/proc/sys/net/ipv4/conf/" + interfaceName + "/rp_filter");
  return static_cast<bool>(file >> *value);
}

}  // namespace

ReversePathFilter ReadReversePathFilter(const std::string& interfaceName) {
  ReversePathFilter filter;
  filter.known = !interfaceName.empty() && ReadSetting("all", &filter.all) &&
                 ReadSetting(interfaceName, &filter.own);
  return filter;
}
