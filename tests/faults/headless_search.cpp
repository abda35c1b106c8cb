#include "tests/faults/headless_search.h"

#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>

#include "devices/row_sort.h"
#include "discovery/engine.h"

namespace {

// The engine's callback has no context: it reaches the search through this.
HeadlessSearch* activeSearch = nullptr;

}  // namespace

HeadlessSearch::HeadlessSearch()
    : worker_(queue_, searching_, [this](std::vector<PendingReply> batch) {
        ui_.Post([this, batch = std::move(batch)] { TakeIn(batch); });
      }) {
  activeSearch = this;
}

HeadlessSearch::~HeadlessSearch() {
  // Also after a failed test: no callback and no batch may outlive what they
  // touch.
  DiscoveryStop();
  searching_ = false;
  if (worker_.Running()) worker_.WaitDone(std::chrono::seconds(5));
  activeSearch = nullptr;
}

std::int32_t HeadlessSearch::OnDatagram(const std::uint8_t* buffer,
                                        std::int32_t, const net::Endpoint&) {
  PendingReply entry;
  if (MakePendingReply(buffer, &entry) &&
      !activeSearch->queue_.Append(std::move(entry)))
    ++activeSearch->queueDrops_;
  return 0;
}

bool HeadlessSearch::Start() {
  bool started = false;
  ui_.Run([&] {
    table_.ArmCollisionCheck();
    searching_ = true;
    started = DiscoveryStart(OnDatagram) == 1;
    if (!started) return;
    table_.Clear();
    DiscoverySend(CMD_SEARCH, nullptr);
    worker_.Start();
  });
  return started;
}

void HeadlessSearch::End(std::chrono::milliseconds limit) {
  auto done = std::make_shared<std::promise<void>>();
  ui_.Post([this, done] {
    DiscoveryStop();
    searching_ = false;
    Sort();
    worker_.WaitDone(std::chrono::milliseconds(200));
    done->set_value();
  });
  if (done->get_future().wait_for(limit) != std::future_status::ready) {
    std::fprintf(stderr, "the end of the search did not return\n");
    std::abort();
  }
}

bool HeadlessSearch::WorkerEnded(std::chrono::milliseconds limit) {
  return worker_.WaitDone(limit);
}

std::vector<DeviceRow> HeadlessSearch::Rows() {
  std::vector<DeviceRow> rows;
  ui_.Run([&] {
    for (std::size_t i = 0; i < table_.Size(); ++i)
      rows.push_back(table_.Row(i));
  });
  return rows;
}

std::size_t HeadlessSearch::LargestBatch() {
  std::size_t largest = 0;
  ui_.Run([&] { largest = largestBatch_; });
  return largest;
}

std::size_t HeadlessSearch::Count(Intake result) {
  std::size_t count = 0;
  ui_.Run([&] { count = counts_[result]; });
  return count;
}

void HeadlessSearch::TakeIn(const std::vector<PendingReply>& batch) {
  if (batch.size() > largestBatch_) largestBatch_ = batch.size();
  for (const PendingReply& entry : batch) ++counts_[table_.Add(entry)];
  Sort();
  worker_.BatchSorted();
}

void HeadlessSearch::Sort() {
  SortRows(table_.MutableRows(), COLUMN_IP, -1, DEVICE_COLUMNS, true, true,
           PlatformTextCompare());
}
