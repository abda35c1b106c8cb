#include "bench/reference/reference_intake.h"

#include <algorithm>
#include <cwchar>

namespace {

constexpr std::size_t CELL_BUFFER = 256;

}  // namespace

bool ReferenceIntake::AnyRowText(int column, const std::wstring& text) const {
  wchar_t cell[CELL_BUFFER];
  for (const DeviceRow& row : rows_) {
    const std::wstring& stored = row.texts[column];
    const std::size_t length = std::min(stored.size(), CELL_BUFFER - 1);
    std::wmemcpy(cell, stored.data(), length);
    cell[length] = L'\0';
    if (std::wcscmp(cell, text.c_str()) == 0) return true;
  }
  return false;
}

Intake ReferenceIntake::Add(const PendingReply& entry) {
  DeviceRow row;
  row.texts[COLUMN_IP] = AddressText(entry.info.ipAddress);
  row.texts[COLUMN_MAC] = MacText(entry.info.macAddress);
  row.texts[COLUMN_BASE_PORT] = PortText(entry.info.basePort);
  row.texts[COLUMN_HTTP_PORT] = PortText(entry.info.httpPort);
  row.texts[COLUMN_IP_MODE] = IpModeText(entry.info.ipMode);

  if (AnyRowText(COLUMN_MAC, row.texts[COLUMN_MAC]))
    return Intake::DuplicateMac;
  if (row.texts[COLUMN_IP] == L"127.0.0.1") return Intake::Loopback;
  if (entry.bodyLength > TEXT_BODY_THRESHOLD) {
    row.texts[COLUMN_MODEL] =
        DeviceTextOf(entry.info.modelName, entry.bodyLength);
    row.texts[COLUMN_FIRMWARE] =
        DeviceTextOf(entry.info.firmware, entry.bodyLength);
  }
  if (collisionCheckArmed_ && AnyRowText(COLUMN_IP, row.texts[COLUMN_IP])) {
    collisionCheckArmed_ = false;
    return Intake::Collision;
  }
  row.record = entry.info;
  rows_.push_back(std::move(row));
  return Intake::Added;
}
