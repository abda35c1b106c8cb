// The discovery engine on a private test network: how long a stop takes, and
// how many search replies per second the receive thread moves into a reply
// queue. Each runs once and reports its figures as counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/isolated_network.h"
#include "bench/reply_set.h"
#include "core/devices/device_table.h"
#include "core/devices/reply_queue.h"
#include "core/engine/engine.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int STOP_CYCLES = 100;
// Long enough for the receive thread to be inside its wait for data.
constexpr auto RUN_BEFORE_STOP = std::chrono::milliseconds(20);
constexpr std::size_t FLOOD_REPLIES = 200000;
constexpr std::size_t DISTINCT_REPLIES = 1000;
constexpr auto DRAIN_GRACE = std::chrono::seconds(2);

ReplyQueue* floodQueue = nullptr;

std::int32_t QueueReply(const std::uint8_t* buffer, std::int32_t,
                        const net::Endpoint&, std::uint32_t) {
  PendingReply entry;
  if (MakePendingReply(buffer, 0, &entry)) floodQueue->Append(std::move(entry));
  return 0;
}

bool RefuseOffTestNetwork(benchmark::State& state) {
  std::string why;
  if (OnIsolatedTestNetwork(&why)) return false;
  state.SkipWithError(why.c_str());
  return true;
}

double Milliseconds(Clock::duration span) {
  return std::chrono::duration<double, std::milli>(span).count();
}

void BM_EngineStop(benchmark::State& state) {
  if (RefuseOffTestNetwork(state)) return;
  std::vector<double> stops;
  for (auto _ : state) {
    for (int cycle = 0; cycle < STOP_CYCLES; ++cycle) {
      if (DiscoveryStart(nullptr) != 1) {
        state.SkipWithError("DiscoveryStart failed");
        return;
      }
      std::this_thread::sleep_for(RUN_BEFORE_STOP);
      const Clock::time_point begin = Clock::now();
      DiscoveryStop();
      stops.push_back(Milliseconds(Clock::now() - begin));
    }
  }
  std::sort(stops.begin(), stops.end());
  state.counters["stop_median_ms"] = stops[stops.size() / 2];
  state.counters["stop_max_ms"] = stops.back();
  state.counters["cycles"] = static_cast<double>(stops.size());
}

// Sends from a plain socket in the same namespace to 127.0.0.1:64988, where
// only the engine's listening socket receives.
void Flood(const std::vector<ReceiveBuffer>& replies, std::size_t count) {
  const net::Socket socket = net::OpenUdp();
  const net::Endpoint engine{LOOPBACK_ADDRESS, DISCOVERY_PORT};
  for (std::size_t i = 0; i < count; ++i)
    net::SendTo(socket, replies[i % replies.size()].data(), DATAGRAM_SIZE,
                engine);
  net::Close(socket);
}

void BM_EngineThroughput(benchmark::State& state) {
  if (RefuseOffTestNetwork(state)) return;
  const std::vector<ReceiveBuffer> replies = DistinctReplies(DISTINCT_REPLIES);
  std::size_t received = 0;
  double seconds = 0;
  for (auto _ : state) {
    ReplyQueue queue;
    floodQueue = &queue;
    if (DiscoveryStart(QueueReply) != 1) {
      state.SkipWithError("DiscoveryStart failed");
      return;
    }
    const Clock::time_point begin = Clock::now();
    std::thread sender(Flood, std::cref(replies), FLOOD_REPLIES);
    // The queue is emptied as the search worker would, so that its capacity
    // never limits the figure.
    Clock::time_point last = begin;
    std::size_t seen = 0;
    while (seen < FLOOD_REPLIES && Clock::now() - last < DRAIN_GRACE) {
      const std::size_t batch = queue.TakeAll().size();
      if (batch > 0) {
        seen += batch;
        last = Clock::now();
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    sender.join();
    DiscoveryStop();
    floodQueue = nullptr;
    received = seen;
    seconds = std::chrono::duration<double>(last - begin).count();
  }
  state.counters["sent"] = static_cast<double>(FLOOD_REPLIES);
  state.counters["received"] = static_cast<double>(received);
  state.counters["datagrams_per_s"] = seconds > 0 ? received / seconds : 0;
}

BENCHMARK(BM_EngineStop)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineThroughput)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
