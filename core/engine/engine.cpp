#include "core/engine/engine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/engine/notify.h"
#include "core/engine/port_conflict.h"
#include "core/protocol/responder.h"

namespace {

// The receive thread never waits longer than this between looks at the stop
// flag, so a stop is prompt even if the wake-up datagram is lost.
constexpr int WAIT_SLICE_MS = 50;
constexpr int FAILED_WAIT_PAUSE_MS = 5;
// Datagrams taken per wait at most: the test replies that fall due and the
// stop flag are looked at between two drains, and a few hundred replies
// take a few tens of milliseconds to read even under Wine.
constexpr int DRAIN_LIMIT = 256;

struct EngineState {
  std::mutex control;  // serialises start, send and stop
  std::thread receiveThread;
  std::atomic<bool> stopRequested{false};
  net::Socket listenSocket = net::NO_SOCKET;
  // A loopback socket that the stop writes to, to wake the receive thread
  // out of its wait at once.
  net::Socket wakeSocket = net::NO_SOCKET;
  net::Endpoint wakeEndpoint;
  // Sized to the adapters that have an address: none is left out, however
  // many there are.
  std::vector<net::Socket> adapterSockets;
};

EngineState engine;

// Takes in what waits on the listening socket, at most DRAIN_LIMIT
// datagrams, so that a burst is read without a wait before each one.
void Drain(const DiscoveryCallback& callback, net::Socket listenSocket,
           TestReplySchedule& responder) {
  std::uint8_t buffer[RECEIVE_BUFFER_SIZE];
  for (int taken = 0; taken < DRAIN_LIMIT && !engine.stopRequested.load();
       ++taken) {
    std::memset(buffer, 0, sizeof buffer);
    net::Arrival arrival;
    const int size =
        net::ReceiveWaiting(listenSocket, buffer, sizeof buffer, &arrival);
    if (size == net::NOTHING_WAITING) return;
    if (size < 0) continue;
    if (callback) callback(buffer, 16, arrival.from, arrival.interfaceIndex);
    if (IsSearchRequest(buffer)) {
      // The generator is never given a start value, on purpose: each engine
      // run repeats the same delays.
      const auto delay = std::chrono::milliseconds(std::rand() % 1000);
      responder.Schedule(buffer, TestReplySchedule::Clock::now(), delay);
    }
  }
}

void ReceiveLoop(DiscoveryCallback callback, net::Socket listenSocket,
                 net::Socket wakeSocket) {
  using Clock = TestReplySchedule::Clock;
  TestReplySchedule responder;
  const net::Endpoint everyone{BROADCAST_ADDRESS, DISCOVERY_PORT};

  while (!engine.stopRequested.load()) {
    const int timeout =
        responder.MillisecondsUntilNext(Clock::now(), WAIT_SLICE_MS);
    const net::WaitResult ready =
        net::WaitReadable(listenSocket, wakeSocket, timeout);
    if (engine.stopRequested.load()) break;
    for (const auto& reply : responder.TakeDue(Clock::now()))
      net::SendTo(listenSocket, reply.data(), reply.size(), everyone);
    if (ready == net::WaitResult::Failed) {
      std::this_thread::sleep_for(
          std::chrono::milliseconds(FAILED_WAIT_PAUSE_MS));
      continue;
    }
    if (ready == net::WaitResult::Readable)
      Drain(callback, listenSocket, responder);
  }
}

net::Socket OpenAdapterSocket(std::uint32_t address) {
  const net::Socket socket = net::OpenUdp();
  net::EnableAddressReuse(socket);
  net::EnableBroadcast(socket);
  // A failed bind still leaves a usable socket: the system then picks the
  // source address and port itself.
  net::Bind(socket, {address, DISCOVERY_PORT});
  return socket;
}

void OpenWakeSocket() {
  engine.wakeSocket = net::OpenUdp();
  if (engine.wakeSocket == net::NO_SOCKET) return;
  if (!net::Bind(engine.wakeSocket, {LOOPBACK_ADDRESS, 0}) ||
      !net::LocalEndpoint(engine.wakeSocket, &engine.wakeEndpoint)) {
    net::Close(engine.wakeSocket);
    engine.wakeSocket = net::NO_SOCKET;
  }
}

void CloseAll() {
  for (net::Socket socket : engine.adapterSockets) net::Close(socket);
  engine.adapterSockets.clear();
  net::Close(engine.listenSocket);
  engine.listenSocket = net::NO_SOCKET;
  net::Close(engine.wakeSocket);
  engine.wakeSocket = net::NO_SOCKET;
}

// What a failed start tells the user. It is told only after the engine's
// lock is released: a message box runs a message loop, and what that loop
// calls may use the engine again on the same thread.
using Notice = std::function<void()>;

Notice Telling(std::wstring text) {
  return [text] { NotifyUser(text); };
}

Notice AdapterFailure(const net::AdapterList& adapters) {
  switch (adapters.status) {
    case net::AdapterList::Status::Ok:
      return nullptr;
    case net::AdapterList::Status::NoMemory:
      return Telling(
          L"Unable to allocate memory needed to call GetAdaptersInfo");
    case net::AdapterList::Status::NoAdapters:
      return Telling(
          L"There are no network adapters with IPv4 enabled on the local "
          L"system");
    case net::AdapterList::Status::Failed:
      break;
  }
  return Telling(L"GetAdaptersInfo failed with error : " +
                 std::to_wstring(adapters.error));
}

// The start under the engine's lock: null once started, else what to tell.
Notice StartLocked(DiscoveryCallback callback, AdapterChoice choice) {
  net::Startup();
  engine.listenSocket = net::OpenUdp();
  net::EnableAddressReuse(engine.listenSocket);
  net::EnableBroadcast(engine.listenSocket);
  net::SetReceiveBuffer(engine.listenSocket, LISTEN_RECEIVE_BUFFER);
  net::EnableNonBlocking(engine.listenSocket);
  net::EnablePacketInfo(engine.listenSocket);
  Notice failure;
  if (!net::Bind(engine.listenSocket, {0, DISCOVERY_PORT})) {
    failure = [] { DiagnosePortConflict(); };
  } else {
    const net::AdapterList adapters = net::ListAdapters();
    failure = AdapterFailure(adapters);
    for (std::size_t i = 0; !failure && i < adapters.adapters.size(); ++i) {
      const std::uint32_t address = adapters.adapters[i].address;
      const auto& only = choice.only;
      if (address != 0 && (only.empty() || std::find(only.begin(), only.end(),
                                                     address) != only.end()))
        engine.adapterSockets.push_back(OpenAdapterSocket(address));
    }
    if (!failure && engine.adapterSockets.empty() && !choice.only.empty())
      failure = Telling(L"No local adapter has the address " +
                        AddressText(choice.only.front()));
  }
  if (failure) {
    // A failed start leaves nothing open behind it.
    CloseAll();
    net::Cleanup();
    return failure;
  }
  OpenWakeSocket();
  engine.stopRequested = false;
  engine.receiveThread = std::thread(ReceiveLoop, std::move(callback),
                                     engine.listenSocket, engine.wakeSocket);
  return nullptr;
}

}  // namespace

std::int32_t DiscoveryStart(DiscoveryCallback callback, AdapterChoice choice) {
  Notice failure;
  {
    std::lock_guard<std::mutex> hold(engine.control);
    if (engine.receiveThread.joinable()) return 0;
    failure = StartLocked(std::move(callback), choice);
  }
  if (!failure) return 1;
  failure();
  return 0;
}

std::int32_t DiscoverySend(std::uint32_t command, const DeviceInfo* body) {
  std::lock_guard<std::mutex> hold(engine.control);
  const std::vector<std::uint8_t> datagram = EncodeRequest(command, body);
  std::int32_t left = 0;
  for (net::Socket socket : engine.adapterSockets)
    if (net::SendTo(socket, datagram.data(), datagram.size(),
                    {BROADCAST_ADDRESS, DISCOVERY_PORT}))
      ++left;
  return left;
}

void DiscoveryStop() {
  std::lock_guard<std::mutex> hold(engine.control);
  if (!engine.receiveThread.joinable()) return;
  engine.stopRequested = true;
  if (engine.wakeSocket != net::NO_SOCKET) {
    const std::uint8_t wake = 0;
    net::SendTo(engine.wakeSocket, &wake, 1, engine.wakeEndpoint);
  }
  // Joined, never killed: the thread cannot be cut off inside a callback that
  // holds a lock, and no callback runs once this returns.
  engine.receiveThread.join();
  CloseAll();
  net::Cleanup();
}

bool DiscoveryRunning() {
  std::lock_guard<std::mutex> hold(engine.control);
  return engine.receiveThread.joinable();
}
