#include "core/devices/search_session.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/devices/row_sort.h"
#include "core/engine/engine.h"

namespace {

constexpr std::chrono::milliseconds LONGEST_TICK{1000};

}  // namespace

SearchSession::SearchSession(DeviceTable& table, SearchFrontEnd& frontEnd,
                             SearchOptions options)
    : table_(table), frontEnd_(frontEnd), options_(options) {}

SearchSession::~SearchSession() {
  searching_ = false;
  StopEngine();
  worker_.reset();
}

int SearchSession::TickCount() const {
  const auto window = std::max<std::int64_t>(options_.window.count(), 1);
  return static_cast<int>((window + LONGEST_TICK.count() - 1) /
                          LONGEST_TICK.count());
}

std::chrono::milliseconds SearchSession::TickPeriod() const {
  return std::chrono::milliseconds(
      std::max<std::int64_t>(options_.window.count(), 1) / TickCount());
}

SearchStart SearchSession::Start() {
  if (state_ != State::Idle) return SearchStart::AlreadySearching;
  if (options_.collisions == CollisionRule::DropFirstAndReport)
    table_.ArmCollisionCheck();
  // Until the request has left, whatever the receive thread hears answers
  // someone else: it is dropped.
  const auto started = DiscoveryStart(
      [this](const std::uint8_t* buffer, std::int32_t, const net::Endpoint&,
             std::uint32_t ingress) { OnDatagram(buffer, ingress); },
      AdapterChoice{options_.adapters});
  if (started != 1) return SearchStart::EngineFailed;
  engineRunning_ = true;

  table_.Clear();
  heard_.Clear();
  table_.SetRowCap(options_.rowCap);
  table_.SetRowTexts(options_.texts);
  queue_.TakeAll();
  {
    std::lock_guard<std::mutex> hold(readyLock_);
    ready_.clear();
  }
  intake_.clear();
  intakeNext_ = 0;
  unsorted_ = false;
  ticks_ = 0;
  state_ = State::Searching;
  searching_ = true;
  DiscoverySend(CMD_SEARCH, nullptr);
  frontEnd_.StartTicks(TickPeriod());
  worker_ = std::make_unique<SearchWorker>(
      queue_, searching_,
      [this](std::vector<PendingReply> batch) { Deliver(std::move(batch)); });
  worker_->Start();
  return SearchStart::Started;
}

void SearchSession::OnDatagram(const std::uint8_t* buffer,
                               std::uint32_t ingress) {
  // Replies heard outside a search (another searcher's, a device announcing
  // its old settings during a change) never reach the next search.
  if (!searching_.load()) return;
  PendingReply entry;
  if (MakePendingReply(buffer, ingress, &entry))
    queue_.Append(std::move(entry));
}

void SearchSession::Deliver(std::vector<PendingReply> batch) {
  {
    std::lock_guard<std::mutex> hold(readyLock_);
    if (ready_.empty()) {
      ready_.swap(batch);
    } else {
      ready_.insert(ready_.end(), std::make_move_iterator(batch.begin()),
                    std::make_move_iterator(batch.end()));
    }
  }
  frontEnd_.RepliesWaiting();
}

void SearchSession::Tick() {
  if (state_ != State::Searching) return;
  if (++ticks_ >= TickCount()) Finish();
}

void SearchSession::StopEngine() {
  if (!engineRunning_) return;
  DiscoveryStop();
  engineRunning_ = false;
}

void SearchSession::Finish() {
  frontEnd_.StopTicks();
  // From here on nothing is received: what the queue holds is all there is,
  // and it is taken in here rather than after the worker's next pause.
  StopEngine();
  searching_ = false;
  worker_.reset();
  Deliver(queue_.TakeAll());
  state_ = State::Finishing;
}

bool SearchSession::TakeIn(std::size_t limit) {
  if (intakeNext_ >= intake_.size()) {
    intake_.clear();
    intakeNext_ = 0;
    std::lock_guard<std::mutex> hold(readyLock_);
    intake_.swap(ready_);
  }
  if (intakeNext_ < intake_.size()) {
    const std::size_t firstNew = table_.Size();
    const std::size_t end =
        intakeNext_ + std::min(limit, intake_.size() - intakeNext_);
    bool collision = false;
    for (; intakeNext_ < end; ++intakeNext_) {
      const PendingReply& entry = intake_[intakeNext_];
      const Intake intake = table_.Add(entry);
      if (intake == Intake::Collision) collision = true;
      // Only listed devices join domains: the test replies of every host
      // that runs this program share one MAC on every network.
      if (options_.ingress == Ingress::Recorded &&
          (intake == Intake::Added || intake == Intake::DuplicateMac))
        heard_.Heard(entry.info.macAddress, entry.ingress);
    }
    if (collision) frontEnd_.OnCollision();
    if (table_.Size() > firstNew) {
      unsorted_ = true;
      frontEnd_.OnRowsAdded({firstNew, false});
    }
    // The next slice, or the sort, in a call of its own: the front end's
    // window answers in between.
    return true;
  }
  // The batch is all in. The table is sorted once per batch, not after
  // every slice: each sort compares every row again.
  if (unsorted_) {
    unsorted_ = false;
    const bool moved = options_.order == RowOrder::AddressText &&
                       SortRows(table_.MutableRows(), COLUMN_IP, -1,
                                DEVICE_COLUMNS, true, true, PlatformSortKey());
    frontEnd_.OnRowsAdded({table_.Size(), moved});
  }
  if (state_ == State::Finishing) {
    state_ = State::Idle;
    frontEnd_.OnEnded();
  } else if (worker_) {
    worker_->BatchSorted();
  }
  return false;
}
