// One search for devices, as every front end runs it: the engine started for
// the search and stopped at its end, the replies queued by the receive thread
// and taken into the device table on the owner's thread, the ticks that end
// the search, the collision signal and the found count.
//
// The session lives on one thread, its owner (the window's user-interface
// thread, the command line's main thread, a test). The receive thread only
// appends to the reply queue; the search worker only moves the queue into
// the batch that waits for the owner and wakes it. A front end drives the
// session with Start, Tick and TakeIn, and hears back through SearchFrontEnd.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "core/devices/device_table.h"
#include "core/devices/ingress_record.h"
#include "core/devices/reply_queue.h"
#include "core/devices/search_worker.h"

// What the session asks of its front end.
class SearchFrontEnd {
 public:
  virtual ~SearchFrontEnd() = default;
  // The owner's timer: call Tick() every `period` until StopTicks.
  virtual void StartTicks(std::chrono::milliseconds period) = 0;
  virtual void StopTicks() = 0;
  // Called on any thread: replies wait, call TakeIn() on the owner's thread.
  virtual void RepliesWaiting() = 0;
  // On the owner's thread, from TakeIn: rows were added, or the batch is
  // all in and the table was put in the options' order.
  struct RowsAdded {
    std::size_t firstNew;  // rows before it were listed before this intake
    bool moved;            // the sort moved rows, new ones or old
  };
  virtual void OnRowsAdded(const RowsAdded& added) = 0;
  // On the owner's thread: a reply showed an address that is already listed.
  virtual void OnCollision() = 0;
  // On the owner's thread: the engine has stopped and every reply it heard
  // is in the table.
  virtual void OnEnded() = 0;
};

// What a device whose address is already listed becomes.
enum class CollisionRule {
  // The first such reply is dropped and reported; later ones are listed.
  DropFirstAndReport,
  // Every device is listed; the front end marks the collisions itself.
  ListAll,
};

// How the table is ordered once a batch of replies is in.
enum class RowOrder {
  // By address text, as the window's list shows the rows.
  AddressText,
  // As the replies came: the front end orders the devices itself.
  Arrival,
};

enum class Ingress { Ignored, Recorded };

struct SearchOptions {
  // From the request until the engine stops, in ticks of at most a second.
  std::chrono::milliseconds window{3000};
  CollisionRule collisions = CollisionRule::DropFirstAndReport;
  // The local addresses of the adapters the request leaves through; none
  // for every adapter.
  std::vector<std::uint32_t> adapters;
  // Whether the session notes which interfaces heard each listed device
  // (IngressRecord), for a front end that tells broadcast domains apart.
  Ingress ingress = Ingress::Ignored;
  // The most devices listed; the table counts those beyond it.
  std::size_t rowCap = DeviceTable::WINDOW_ROW_CAP;
  // The defaults are the window's. A front end that orders and writes the
  // devices itself saves the rest: at tens of thousands of rows each sort,
  // which compares every row again, costs more than the whole intake.
  RowOrder order = RowOrder::AddressText;
  RowTexts texts = RowTexts::Columns;
};

enum class SearchStart { Started, EngineFailed, AlreadySearching };

class SearchSession {
 public:
  SearchSession(DeviceTable& table, SearchFrontEnd& frontEnd,
                SearchOptions options = {});
  // Stops a search that still runs; no front end call follows.
  ~SearchSession();
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  // Starts the engine, empties the table and the queue, gives the table the
  // options' row cap and texts, and sends the search request. When the engine
  // does not start, its own message has said why and the table is left as it
  // was.
  SearchStart Start();
  // One tick of the front end's timer; the last one ends the search.
  void Tick();
  // Takes at most `limit` waiting replies into the table, or, once a batch
  // is all in, sorts the table; true when more work waits (the front end
  // calls again, letting its window answer between).
  bool TakeIn(std::size_t limit);

  // Hands a batch of replies to the owner, as the worker does: any thread.
  void Deliver(std::vector<PendingReply> batch);

  bool Searching() const { return state_ == State::Searching; }
  // True from Start until OnEnded.
  bool Busy() const { return state_ != State::Idle; }
  // The tick period and count that make up the search window.
  std::chrono::milliseconds TickPeriod() const;
  int TickCount() const;
  // With Ingress::Recorded: which interfaces heard each listed device in
  // the last search, handed over.
  IngressRecord TakeHeard() { return std::move(heard_); }

 private:
  enum class State { Idle, Searching, Finishing };

  void OnDatagram(const std::uint8_t* buffer, std::uint32_t ingress);
  void Finish();
  void StopEngine();

  DeviceTable& table_;
  SearchFrontEnd& frontEnd_;
  const SearchOptions options_;
  State state_ = State::Idle;
  int ticks_ = 0;
  bool engineRunning_ = false;

  // Written by the receive thread, read by the worker.
  ReplyQueue queue_;
  std::atomic<bool> searching_{false};
  // Batches handed over by the worker, waiting for TakeIn.
  std::mutex readyLock_;
  std::vector<PendingReply> ready_;
  // The batch TakeIn works through, a slice at a time; owner's thread only.
  std::vector<PendingReply> intake_;
  std::size_t intakeNext_ = 0;
  bool unsorted_ = false;  // rows were added since the last sort
  IngressRecord heard_;    // owner's thread only
  std::unique_ptr<SearchWorker> worker_;
};
