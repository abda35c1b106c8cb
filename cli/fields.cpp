#include "cli/fields.h"

namespace cli {

std::string JsonValue(FieldKind kind, const FieldValue& value) {
  if (!value) return "null";
  switch (kind) {
    case FieldKind::Number:
    case FieldKind::Flag:
      return *value;
    case FieldKind::Address:
    case FieldKind::Word:
    case FieldKind::Text:
    case FieldKind::DeviceText:
      break;
  }
  return JsonString(*value);
}

std::string CsvValue(FieldKind kind, const FieldValue& value) {
  if (!value) return std::string();
  // Anyone on the network can answer with any text.
  return kind == FieldKind::DeviceText ? SpreadsheetText(*value) : *value;
}

}  // namespace cli
