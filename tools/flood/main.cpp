// quellan-flood: junk, forged replies and search requests on the discovery
// port, at set rates for a bounded time, from the peer side of the private
// test link. See flood_options.cpp for the command line.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/engine/net.h"
#include "core/protocol/datagram.h"
#include "tools/flood/flood_options.h"
#include "tools/flood/isolation.h"
#include "tools/flood/pacer.h"
#include "tools/flood/payloads.h"

namespace {

constexpr int USAGE_ERROR = 2;
constexpr int CANNOT_SEND = 1;
constexpr auto PASS_PAUSE = std::chrono::microseconds(100);

class Sender {
 public:
  explicit Sender(net::Endpoint to) : to_(to), socket_(net::OpenUdp()) {
    if (socket_ != net::NO_SOCKET) net::EnableBroadcast(socket_);
  }
  ~Sender() { net::Close(socket_); }
  Sender(const Sender&) = delete;
  Sender& operator=(const Sender&) = delete;

  bool Open() const { return socket_ != net::NO_SOCKET; }
  void Send(const std::vector<std::uint8_t>& bytes) {
    // A zero-length datagram still needs a valid pointer.
    static const std::uint8_t NOTHING = 0;
    if (!net::SendTo(socket_, bytes.empty() ? &NOTHING : bytes.data(),
                     bytes.size(), to_))
      ++failures_;
  }
  std::int64_t Failures() const { return failures_; }

 private:
  net::Endpoint to_;
  net::Socket socket_;
  std::int64_t failures_ = 0;
};

std::uint64_t FreshRandomStart() {
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 &&
      (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::fputs(flood::UsageText().c_str(), stdout);
    return 0;
  }
  const flood::OptionsResult parsed =
      flood::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.ok) {
    std::fprintf(stderr, "quellan-flood: %s\n%s", parsed.error.c_str(),
                 flood::UsageText().c_str());
    return USAGE_ERROR;
  }
  const flood::Options& options = parsed.options;
  std::string why;
  if (!flood::OnlyOnTestLinks(&why)) {
    std::fprintf(stderr, "quellan-flood: refusing to send: %s\n", why.c_str());
    return CANNOT_SEND;
  }
  net::Startup();
  Sender sender({options.to, DISCOVERY_PORT});
  if (!sender.Open()) {
    std::fprintf(stderr, "quellan-flood: cannot open a UDP socket\n");
    return CANNOT_SEND;
  }

  flood::Random random(options.haveRandomStart ? options.randomStart
                                               : FreshRandomStart());
  flood::Pacer junk(options.junkRate, -1);
  flood::Pacer replies(options.replyRate, options.replies);
  flood::Pacer requests(options.requestRate, -1);
  const std::vector<std::uint8_t> request = flood::SearchRequest();
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
            .count();
    if (elapsed >= options.seconds) break;
    for (std::int64_t n = junk.TakeDue(elapsed); n > 0; --n)
      sender.Send(flood::Junk(random));
    // The forged devices are numbered in the order their replies go out.
    const std::int64_t first = replies.SentSoFar();
    const std::int64_t due = replies.TakeDue(elapsed - options.repliesAfter);
    for (std::int64_t n = first; n < first + due; ++n)
      sender.Send(flood::ForgedReply(static_cast<std::uint32_t>(n), random));
    for (std::int64_t n = requests.TakeDue(elapsed); n > 0; --n)
      sender.Send(request);
    std::this_thread::sleep_for(PASS_PAUSE);
  }
  std::printf("{\"event\":\"exit\",\"junk\":%" PRId64 ",\"replies\":%" PRId64
              ",\"requests\":%" PRId64 ",\"send_failures\":%" PRId64 "}\n",
              junk.SentSoFar(), replies.SentSoFar(), requests.SentSoFar(),
              sender.Failures());
  net::Cleanup();
  return 0;
}
