#include "cli/network/verify_progress.h"

#include <algorithm>

namespace cli {

VerifyProgress CountAnswered(const std::vector<ChangeRequest>& expected,
                             const LastAnswer& lastAnswer,
                             std::chrono::milliseconds left) {
  VerifyProgress progress;
  progress.awaited = expected.size();
  progress.left = std::max(left, std::chrono::milliseconds(0));
  for (const ChangeRequest& request : expected) {
    const IpSettings* last = lastAnswer(request.mac);
    if (last && *last == request.settings)
      ++progress.answered;
    else if (!progress.waitingFor)
      progress.waitingFor = request.mac;
  }
  return progress;
}

}  // namespace cli
