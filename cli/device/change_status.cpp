#include "cli/device/change_status.h"

#include "core/text/ascii_words.h"

namespace cli {

const char* StatusWord(ChangeStatus status) {
  static const NamedValue<ChangeStatus> WORDS[] = {
      {"change", ChangeStatus::Change},
      {"unchanged", ChangeStatus::Unchanged},
      {"missing", ChangeStatus::Missing},
      {"invalid", ChangeStatus::Invalid},
      {"conflict", ChangeStatus::Conflict},
      {"sent", ChangeStatus::Sent},
      {"confirmed", ChangeStatus::Confirmed},
      {"not-confirmed", ChangeStatus::NotConfirmed},
      {"not-sent", ChangeStatus::NotSent},
      {"returned", ChangeStatus::Returned},
      {"stranded", ChangeStatus::Stranded}};
  return NameOf(WORDS, status);
}

}  // namespace cli
