#include "cli/device/change_status.h"

namespace cli {

const char* StatusWord(ChangeStatus status) {
  switch (status) {
    case ChangeStatus::Change:
      return "change";
    case ChangeStatus::Unchanged:
      return "unchanged";
    case ChangeStatus::Missing:
      return "missing";
    case ChangeStatus::Invalid:
      return "invalid";
    case ChangeStatus::Conflict:
      return "conflict";
    case ChangeStatus::Sent:
      return "sent";
    case ChangeStatus::Confirmed:
      return "confirmed";
    case ChangeStatus::NotConfirmed:
      return "not-confirmed";
    case ChangeStatus::NotSent:
      return "not-sent";
    case ChangeStatus::Returned:
      return "returned";
    case ChangeStatus::Stranded:
      return "stranded";
  }
  return "";
}

}  // namespace cli
