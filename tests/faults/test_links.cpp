#include "tests/faults/test_links.h"

#include <fstream>

#include "tests/faults/child_process.h"

LinkDown::LinkDown(std::string name) : name_(std::move(name)) {
  done_ = RunCommand({"ip", "link", "set", name_, "down"}) == 0;
}

LinkDown::~LinkDown() {
  RunCommand({"ip", "link", "set", name_, "up"});
  // Taking the link down removed the route of the limited broadcast.
  RunCommand({"ip", "route", "replace", "default", "dev", name_});
}

ExtraAdapters::ExtraAdapters(int count) {
  for (int i = 0; i < count; ++i) {
    const std::string name = "qfx" + std::to_string(i);
    const std::string other = "qfy" + std::to_string(i);
    const std::string address = "10.77.1." + std::to_string(10 + i) + "/32";
    // A run killed half way may have left one behind.
    RunCommand({"ip", "link", "del", name});
    names_.push_back(name);
    done_ = done_ &&
            RunCommand({"ip", "link", "add", name, "type", "veth", "peer",
                        "name", other}) == 0 &&
            RunCommand({"ip", "addr", "add", address, "dev", name}) == 0 &&
            RunCommand({"ip", "link", "set", other, "up"}) == 0 &&
            RunCommand({"ip", "link", "set", name, "up"}) == 0;
  }
}

ExtraAdapters::~ExtraAdapters() {
  // Deleting one end of a veth pair deletes both.
  for (const std::string& name : names_)
    RunCommand({"ip", "link", "del", name});
}

std::uint64_t ExtraAdapters::SentThrough(const std::string& name) {
  std::ifstream counter("/sys/class/net/" + name + "/statistics/tx_packets");
  std::uint64_t packets = 0;
  counter >> packets;
  return packets;
}
