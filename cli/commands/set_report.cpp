#include "cli/commands/set_report.h"

#include <vector>

#include "cli/device/device_fields.h"
#include "cli/device/settings_edit.h"
#include "cli/format/text_formats.h"

namespace cli {
namespace {

const Fields<IpSettings>& SettingFields() {
  static const Fields<IpSettings> fields = [] {
    Fields<IpSettings> all;
    for (const Setting& setting : SETTINGS) all.push_back(&setting.field);
    return all;
  }();
  return fields;
}

}  // namespace

std::string SetReportJson(const SetReport& report) {
  return "{\"mac\":" + JsonString(MacString(report.before)) +
         ",\"status\":" + JsonString(StatusWord(report.status)) +
         ",\"before\":" + DeviceJson(report.before, DeviceColumns::Ours) +
         ",\"sent\":" +
         (report.sent ? JsonObject(SettingFields(), *report.sent) : "null") +
         ",\"after\":" +
         (report.answered ? DeviceJson(report.after, DeviceColumns::Ours)
                          : "null") +
         "}\n";
}

std::string SetReportTable(const SetReport& report) {
  const IpSettings& before = report.before.settings;
  std::vector<std::vector<std::string>> rows;
  for (const Field<IpSettings>* field : SettingFields()) {
    rows.push_back({field->key, *field->value(before),
                    report.sent ? *field->value(*report.sent) : ""});
  }
  return AlignedTable({"Setting", "Before", "Sent"}, rows) +
         MacString(report.before) + ": " + StatusWord(report.status) + "\n";
}

}  // namespace cli
