#include "app/dialogs/ip_change_fields.h"

#include "app/dialogs/ip_mode_list.h"

namespace {

constexpr std::uint32_t Numeric(std::uint32_t a, std::uint32_t b,
                                std::uint32_t c, std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

}  // namespace

IpChangeFields FieldsFromSettings(const IpSettings& settings) {
  IpChangeFields fields;
  fields.modeIndex = IpModeListIndex(settings.ipMode);
  fields.ipAddress = settings.ipAddress;
  fields.subnetMask = settings.subnetMask;
  fields.gateway = settings.gateway;
  fields.basePortText = std::to_wstring(settings.basePort);
  fields.httpPortText = std::to_wstring(settings.httpPort);
  return fields;
}

IpChangeFields MultiChangeDefaults() {
  IpChangeFields fields;
  fields.modeIndex = 0;
  fields.ipAddress = Numeric(192, 168, 10, 100);
  fields.subnetMask = Numeric(255, 255, 255, 0);
  fields.gateway = Numeric(192, 168, 10, 1);
  fields.basePortText = L"2222";
  fields.httpPortText = L"80";
  return fields;
}

std::wstring ServerCountText(std::int32_t serverCount) {
  return std::to_wstring(serverCount) + L" Servers are selected";
}
