// The command line's words after a refused change. The refusal keeps the
// checker's message, which for the window's own rules is the window's
// text word for word; an installer at a prompt also needs to know which
// value broke the rule and what to give instead, in the terms of what they
// typed: an option of set, or a column of a plan.
#pragma once

#include <string>

#include "core/protocol/datagram.h"
#include "core/validation/change_check.h"

namespace cli {

// Where the settings of a change were written.
enum class ChangeSource {
  Options,  // set's --ip, --gateway, ...
  PlanRow,  // a plan's cells, or --from's --mask and --gateway
};

// The sentence that names the value and the fix; empty where the message
// names the value itself and the fix is plain (an address already taken).
std::string ChangeHint(const ChangeProblem& problem, const IpSettings& proposed,
                       ChangeSource source);

// `message` (the problem's text on one line), and the hint after it as a
// sentence of its own.
std::string RefusalText(const std::string& message,
                        const ChangeProblem& problem,
                        const IpSettings& proposed, ChangeSource source);

}  // namespace cli
