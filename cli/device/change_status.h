// How a change of one device ended, in set's report and in each row of a
// plan's: one value per word the reports print.
#pragma once

namespace cli {

enum class ChangeStatus {
  // Judged, before anything is sent.
  Change,
  Unchanged,
  Missing,
  Invalid,
  Conflict,
  // Once sent.
  Sent,  // not verified (set --no-verify)
  Confirmed,
  NotConfirmed,
  NotSent,
  Returned,  // back on its own address after a temporary one
  Stranded,  // left on a temporary address
};

// "change", "not-confirmed", ...
const char* StatusWord(ChangeStatus status);

// Why a change was not sent, which decides the exit status: a request that
// could not leave is a network failure, one held back is a problem of the
// plan.
enum class NotSentCause {
  Network,   // it left through no adapter, or no adapter reaches the device
  HeldBack,  // it waited for a device that did not move, or the apply
             // stopped first
};

}  // namespace cli
