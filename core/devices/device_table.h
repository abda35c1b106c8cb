// The table of found devices, kept beside the list control that shows it:
// one row per device with its seven column texts (or only the device's own,
// for a front end without the list), its check state and its own copy of the
// device's DeviceInfo. Hash indexes of the MACs and addresses
// behind the MAC and IP texts make each intake O(1) while giving exactly the
// results of comparing the texts of every row.
//
// Owned and used by the user-interface thread only; the list control is
// rewritten from it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/protocol/datagram.h"

constexpr int DEVICE_COLUMNS = 7;
enum DeviceColumn {
  COLUMN_IP = 0,
  COLUMN_MAC,
  COLUMN_BASE_PORT,
  COLUMN_HTTP_PORT,
  COLUMN_IP_MODE,
  COLUMN_MODEL,
  COLUMN_FIRMWARE
};

// One search reply received and not yet taken into the table. It holds no
// text: the receive thread, which under Wine already pays a round trip to
// the wineserver for every datagram, allocates nothing for it, and the texts
// of replies that never become rows (a device heard through a second
// adapter) are never made.
struct PendingReply {
  DeviceInfo info;
  std::int32_t bodyLength = 0;
  // The local interface it came in on (0: not known).
  std::uint32_t ingress = 0;
};

// The search reply in a zero-filled receive buffer, which came in on the
// interface `ingress`, as a queue entry; false (and `entry` untouched) for
// any other datagram.
bool MakePendingReply(const std::uint8_t* buffer, std::uint32_t ingress,
                      PendingReply* entry);

struct DeviceRow {
  std::array<std::wstring, DEVICE_COLUMNS> texts;
  DeviceInfo record;
  // The body length the reply stated: the model and firmware count only
  // past TEXT_BODY_THRESHOLD. It belongs to the record and moves with it.
  std::int32_t bodyLength = 0;
  bool checked = false;
};

enum class Intake { Added, DuplicateMac, Loopback, Full, Collision };

// Which texts a row is given when it is taken in.
enum class RowTexts {
  // Every column's, as the window's list shows them.
  Columns,
  // None: a front end that writes every field in forms of its own reads the
  // record and the length of its body.
  None,
};

// The devices a full table turned away: how many distinct MACs answered
// beyond its cap. Exact up to DeviceTable::REMEMBERED_BEYOND_CAP; past that,
// `devices` is the bound and the count is only known to exceed it.
struct TurnedAway {
  enum class Count { Exact, MoreThan };
  std::size_t devices = 0;
  Count count = Count::Exact;
};

// "Found %d devices" (plural for one device too).
std::wstring FoundCountText(std::size_t rows);

class DeviceTable {
 public:
  // The window's cap, which every table has until its front end sets its
  // own. A flood of forged replies must not grow the table, the list control
  // and each sort without bound. A flat network rarely holds more than a few
  // thousand devices; at this many rows a sort still takes milliseconds and
  // the rows with their indexes take at most some 14 MB.
  static constexpr std::size_t WINDOW_ROW_CAP = 20000;
  // A full table still counts the MACs that answer beyond its cap, but a
  // flood of forged MACs must not grow that count's memory without bound
  // either: some 3 MB at most.
  static constexpr std::size_t REMEMBERED_BEYOND_CAP = 65536;

  // At most `rows` rows from the next intake on; the rows already listed
  // stay, so a front end sets it before a search, with the table empty.
  void SetRowCap(std::size_t rows);
  std::size_t RowCap() const { return rowCap_; }
  // For the rows taken in from now on.
  void SetRowTexts(RowTexts texts) { rowTexts_ = texts; }

  // Arms the IP collision test: the next reply whose address is already
  // listed is dropped and reported, once.
  void ArmCollisionCheck() { collisionCheckArmed_ = true; }
  bool CollisionCheckArmed() const { return collisionCheckArmed_; }

  // Duplicate MAC, loopback address, row cap and collision tests, in that
  // order; an entry that passes them becomes a new unchecked row at the end.
  // A full table takes no new device, so it reports no collision either; it
  // counts the device among those turned away.
  Intake Add(const PendingReply& entry);
  // Empties the table and forgets the devices turned away; the cap stays.
  void Clear();
  TurnedAway TurnedAwayDevices() const;

  std::size_t Size() const { return rows_.size(); }
  const DeviceRow& Row(std::size_t index) const { return rows_[index]; }
  const std::vector<DeviceRow>& Rows() const { return rows_; }
  // The row's own record, which the IP change writes into.
  DeviceInfo& Record(std::size_t index) { return rows_[index].record; }
  void SetChecked(std::size_t index, bool checked);
  std::size_t CheckedCount() const { return checkedCount_; }
  // For sorting: a sort moves rows and check marks but never changes how
  // many rows are checked.
  std::vector<DeviceRow>& MutableRows() { return rows_; }

 private:
  std::vector<DeviceRow> rows_;
  // The MACs and addresses of the listed rows as they were taken in; the
  // IP change writes records but never the texts these stand for.
  std::unordered_set<std::uint64_t> macKeys_;
  std::unordered_set<std::uint32_t> ipAddresses_;
  std::size_t checkedCount_ = 0;
  bool collisionCheckArmed_ = false;
  std::size_t rowCap_ = WINDOW_ROW_CAP;
  RowTexts rowTexts_ = RowTexts::Columns;
  // The MACs turned away by the cap, up to REMEMBERED_BEYOND_CAP of them, and
  // whether yet another one came after that.
  std::unordered_set<std::uint64_t> beyondCap_;
  bool beyondRemembered_ = false;
};
