#include "cli/set_report.h"

#include <vector>

#include "cli/text_formats.h"

namespace cli {
namespace {

// The six settings, named as in the device object.
std::vector<std::vector<std::string>> Settings(const DeviceInfo& info) {
  return {{"ip", Dotted(info.ipAddress)},
          {"mask", Dotted(info.subnetMask)},
          {"gateway", Dotted(info.gateway)},
          {"ip_mode", std::to_string(info.ipMode)},
          {"base_port", std::to_string(info.basePort)},
          {"http_port", std::to_string(info.httpPort)}};
}

}  // namespace

std::string SetReportJson(const SetReport& report) {
  std::string sent = "null";
  if (report.sent) {
    sent.clear();
    for (const auto& setting : Settings(*report.sent)) {
      const bool number = setting[0].find("port") != std::string::npos ||
                          setting[0] == "ip_mode";
      sent += (sent.empty() ? "{" : ",") + JsonString(setting[0]) + ":" +
              (number ? setting[1] : JsonString(setting[1]));
    }
    sent += "}";
  }
  return "{\"mac\":" + JsonString(MacString(report.before.info)) +
         ",\"status\":" + JsonString(StatusWord(report.status)) +
         ",\"before\":" + DeviceJson(report.before) + ",\"sent\":" + sent +
         ",\"after\":" + (report.answered ? DeviceJson(report.after) : "null") +
         "}\n";
}

std::string SetReportTable(const SetReport& report) {
  const auto before = Settings(report.before.info);
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < before.size(); ++i)
    rows.push_back({before[i][0], before[i][1],
                    report.sent ? Settings(*report.sent)[i][1] : ""});
  return AlignedTable({"Setting", "Before", "Sent"}, rows) +
         MacString(report.before.info) + ": " + StatusWord(report.status) +
         "\n";
}

}  // namespace cli
