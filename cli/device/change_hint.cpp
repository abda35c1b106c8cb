#include "cli/device/change_hint.h"

#include "cli/device/found_device.h"
#include "cli/device/settings_edit.h"
#include "cli/format/text_formats.h"

namespace cli {
namespace {

// How the user gives the setting whose report key is `key`.
std::string HowToGive(const char* key, ChangeSource source) {
  for (const Setting& setting : SETTINGS) {
    if (std::string(setting.field.key) != key) continue;
    if (source == ChangeSource::Options)
      return std::string("with ") + setting.option;
    return std::string("in the plan's ") + setting.column + " column";
  }
  return std::string();
}

std::string Subnet(const IpSettings& settings) {
  return Dotted(settings.ipAddress & settings.subnetMask) + "/" +
         Dotted(settings.subnetMask);
}

}  // namespace

std::string ChangeHint(const ChangeProblem& problem, const IpSettings& proposed,
                       ChangeSource source) {
  switch (problem.kind) {
    case ChangeProblemKind::GatewayOutsideSubnet: {
      std::string hint = "The gateway " + Dotted(proposed.gateway) +
                         " lies outside the subnet " + Subnet(proposed) +
                         " of " + Dotted(proposed.ipAddress) +
                         ": give a gateway in that subnet " +
                         HowToGive("gateway", source);
      // Numbered rows take the gateway of --from's line as well.
      if (source == ChangeSource::PlanRow)
        hint += " (or --gateway with --from)";
      return hint + ".";
    }
    case ChangeProblemKind::BadBasePort:
      return "The base port " + std::to_string(proposed.basePort) +
             " is not between 1025 and 65535: give one in that range " +
             HowToGive("base_port", source) + ".";
    case ChangeProblemKind::BadHttpPort:
      return "The HTTP port " + std::to_string(proposed.httpPort) +
             " is neither 80 nor between 1025 and 65535: give 80 or one in "
             "that range " +
             HowToGive("http_port", source) + ".";
    case ChangeProblemKind::ZeroAddress:
      return "The address is 0.0.0.0: give one " + HowToGive("ip", source) +
             ".";
    case ChangeProblemKind::NetworkAddress:
      return "The address " + Dotted(proposed.ipAddress) +
             " is the network address of the subnet " + Subnet(proposed) +
             ": give another " + HowToGive("ip", source) +
             ", or another mask " + HowToGive("mask", source) + ".";
    default:
      // The command line's own messages name the value already.
      return std::string();
  }
}

std::string RefusalText(const std::string& message,
                        const ChangeProblem& problem,
                        const IpSettings& proposed, ChangeSource source) {
  const std::string hint = ChangeHint(problem, proposed, source);
  return hint.empty() ? message : Sentence(message) + " " + hint;
}

}  // namespace cli
