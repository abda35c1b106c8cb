#include "cli/commands/set_report.h"

#include <optional>
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

// One setting of the report: the device's value before and what was sent.
struct SettingRow {
  std::string mac;
  std::string status;
  const Setting* setting;
  IpSettings before;
  std::optional<IpSettings> sent;
};

const Field<SettingRow> ROW_FIELDS[] = {
    {"mac", "MAC address", FieldKind::Word,
     [](const SettingRow& r) -> FieldValue { return r.mac; }},
    {"status", "Status", FieldKind::Word,
     [](const SettingRow& r) -> FieldValue { return r.status; }},
    {"setting", "Setting", FieldKind::Word,
     [](const SettingRow& r) -> FieldValue { return r.setting->field.key; }},
    {"before", "Before", FieldKind::Word,
     [](const SettingRow& r) { return r.setting->field.value(r.before); }},
    {"sent", "Sent", FieldKind::Word,
     [](const SettingRow& r) -> FieldValue {
       return r.sent ? r.setting->field.value(*r.sent) : std::nullopt;
     }},
};

std::vector<SettingRow> SettingRows(const SetReport& report) {
  std::vector<SettingRow> rows;
  for (const Setting& setting : SETTINGS) {
    rows.push_back({MacString(report.before), StatusWord(report.status),
                    &setting, report.before.settings, report.sent});
  }
  return rows;
}

// A setting's value as the table shows it.
std::string Shown(const Setting& setting, const IpSettings& settings) {
  return setting.shown ? setting.shown(settings)
                       : *setting.field.value(settings);
}

std::string Json(const SetReport& report) {
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

std::string TableText(const SetReport& report) {
  std::vector<std::vector<std::string>> rows;
  for (const SettingRow& row : SettingRows(report)) {
    rows.push_back({row.setting->field.key, Shown(*row.setting, row.before),
                    row.sent ? Shown(*row.setting, *row.sent) : ""});
  }
  return AlignedTable({"Setting", "Before", "Sent"}, rows) +
         MacString(report.before) + ": " + StatusWord(report.status) + "\n";
}

// The CSV, or the same rows as a workbook's.
std::string Rows(const SetReport& report, Format format) {
  const auto fields =
      Pick(ROW_FIELDS, {"mac", "status", "setting", "before", "sent"});
  return Collected([&](const TextSink& write) {
    if (format == Format::Xlsx) {
      WriteSheetLines(fields, SettingRows(report), write);
    } else {
      WriteCsv(fields, SettingRows(report), write);
    }
  });
}

}  // namespace

std::string SetReportText(const SetReport& report, Format format) {
  if (format == Format::Json) return Json(report);
  return format == Format::Table ? TableText(report) : Rows(report, format);
}

}  // namespace cli
