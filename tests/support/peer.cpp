#include "tests/support/peer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "core/engine/net.h"
#include "tests/support/hex.h"

std::vector<std::string> PeerLines() {
  std::vector<std::string> lines;
  const char* path = std::getenv("QUELLAN_PEER_LOG");
  if (!path) return lines;
  std::ifstream log(path);
  std::string line;
  while (std::getline(log, line))
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string JsonField(const std::string& line, const std::string& key) {
  const std::string quoted = "\"" + key + "\":";
  std::size_t at = line.find(quoted);
  if (at == std::string::npos) return std::string();
  at += quoted.size();
  while (at < line.size() && line[at] == ' ') ++at;
  if (at < line.size() && line[at] == '"') {
    const std::size_t end = line.find('"', at + 1);
    return line.substr(at + 1, end - at - 1);
  }
  std::size_t end = at;
  while (end < line.size() && line[end] != ',' && line[end] != '}') ++end;
  return line.substr(at, end - at);
}

std::string JsonObject(const std::string& line, const std::string& key) {
  const std::string opening = "\"" + key + "\":{";
  const std::size_t at = line.find(opening);
  if (at == std::string::npos) return std::string();
  const std::size_t end = line.find('}', at);
  return line.substr(at + opening.size() - 1, end - at - opening.size() + 2);
}

std::vector<PeerDatagram> PeerDatagrams(std::size_t fromLine) {
  std::vector<PeerDatagram> datagrams;
  const std::vector<std::string> lines = PeerLines();
  for (std::size_t i = fromLine; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (JsonField(line, "event") != "datagram") continue;
    PeerDatagram datagram;
    datagram.from = JsonField(line, "from");
    datagram.port = std::atoi(JsonField(line, "port").c_str());
    datagram.size = std::strtoul(JsonField(line, "size").c_str(), nullptr, 10);
    datagram.bytes = FromHex(JsonField(line, "hex"));
    datagrams.push_back(datagram);
  }
  return datagrams;
}

bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool OnIsolatedTestNetwork() {
  const net::AdapterList adapters = net::ListAdapters();
  if (adapters.status != net::AdapterList::Status::Ok) {
    ADD_FAILURE() << "no adapters: run through scripts/test.sh";
    return false;
  }
  for (const net::Adapter& adapter : adapters.adapters) {
    const std::uint32_t address = adapter.address;
    // 10.77.x.x and 10.78.x.x: the two test links; 10.100.x.x: the extra
    // broadcast domains that netpeer.sh adds on request. Nothing else.
    const std::uint32_t net16 = address >> 16;
    if (address != 0 && net16 != 0x0A4Du && net16 != 0x0A4Eu &&
        net16 != 0x0A64u) {
      ADD_FAILURE() << "refusing to broadcast: adapter address " << std::hex
                    << address << " is not on a private test link";
      return false;
    }
  }
  return std::getenv("QUELLAN_PEER_LOG") != nullptr;
}
