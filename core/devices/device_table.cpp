#include "core/devices/device_table.h"

#include <cwchar>

bool MakePendingReply(const std::uint8_t* buffer, std::uint32_t ingress,
                      PendingReply* entry) {
  if (!IsSearchReply(buffer)) return false;
  const DecodedReply reply = DecodeDeviceInfo(buffer);
  entry->info = reply.info;
  entry->bodyLength = reply.bodyLength;
  entry->ingress = ingress;
  return true;
}

std::wstring FoundCountText(std::size_t rows) {
  wchar_t text[40];
  std::swprintf(text, 40, L"Found %d devices", static_cast<int>(rows));
  return text;
}

void DeviceTable::SetRowCap(std::size_t rows) {
  rowCap_ = rows;
  // Room for the cap's rows at once, so that the rows do not move through
  // ever larger copies as a search fills the table (a sort still puts them
  // in a new vector), nor the indexes rehash: at tens of thousands of rows
  // those copies touched twice the memory the rows need. The rows' room
  // costs address space, not memory, until rows take it.
  rows_.reserve(rows);
  macKeys_.reserve(rows);
  ipAddresses_.reserve(rows);
}

Intake DeviceTable::Add(const PendingReply& entry) {
  // The MAC and IP texts print their bytes one to one, so comparing the
  // numbers answers exactly what comparing the texts would, and a rejected
  // reply costs no text at all.
  const std::uint64_t mac = MacKey(entry.info.macAddress);
  if (macKeys_.count(mac)) return Intake::DuplicateMac;
  if (entry.info.ipAddress == LOOPBACK_ADDRESS) return Intake::Loopback;
  if (rows_.size() >= rowCap_) {
    if (beyondCap_.size() < REMEMBERED_BEYOND_CAP)
      beyondCap_.insert(mac);
    else if (!beyondCap_.count(mac))
      beyondRemembered_ = true;
    return Intake::Full;
  }
  if (collisionCheckArmed_ && ipAddresses_.count(entry.info.ipAddress)) {
    // Only the first collision of a search is reported; the newcomer is
    // dropped, never the row already listed.
    collisionCheckArmed_ = false;
    return Intake::Collision;
  }

  DeviceRow row;
  if (rowTexts_ == RowTexts::Columns) {
    row.texts[COLUMN_IP] = AddressText(entry.info.ipAddress);
    row.texts[COLUMN_MAC] = MacText(entry.info.macAddress);
    row.texts[COLUMN_BASE_PORT] = PortText(entry.info.basePort);
    row.texts[COLUMN_HTTP_PORT] = PortText(entry.info.httpPort);
    row.texts[COLUMN_IP_MODE] = IpModeText(entry.info.ipMode);
  }
  if (rowTexts_ == RowTexts::Columns &&
      entry.bodyLength > TEXT_BODY_THRESHOLD) {
    row.texts[COLUMN_MODEL] =
        DeviceTextOf(entry.info.modelName, entry.bodyLength);
    row.texts[COLUMN_FIRMWARE] =
        DeviceTextOf(entry.info.firmware, entry.bodyLength);
  }
  row.record = entry.info;
  row.bodyLength = entry.bodyLength;
  macKeys_.insert(mac);
  ipAddresses_.insert(entry.info.ipAddress);
  rows_.push_back(std::move(row));
  return Intake::Added;
}

void DeviceTable::Clear() {
  rows_.clear();
  checkedCount_ = 0;
  macKeys_.clear();
  ipAddresses_.clear();
  beyondCap_.clear();
  beyondRemembered_ = false;
}

TurnedAway DeviceTable::TurnedAwayDevices() const {
  return {beyondCap_.size(), beyondRemembered_ ? TurnedAway::Count::MoreThan
                                               : TurnedAway::Count::Exact};
}

void DeviceTable::SetChecked(std::size_t index, bool checked) {
  if (rows_[index].checked == checked) return;
  rows_[index].checked = checked;
  checked ? ++checkedCount_ : --checkedCount_;
}
