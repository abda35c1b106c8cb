#include "cli/format/fields.h"

namespace cli {
namespace {

// A piece of a report goes out once it holds this much.
constexpr std::size_t PIECE_SIZE = 64 * 1024;

}  // namespace

Pieces::Pieces(const TextSink& write) : write_(write) {
  piece_.reserve(PIECE_SIZE + 1024);
}

void Pieces::LineDone() {
  if (piece_.size() >= PIECE_SIZE) End();
}

void Pieces::End() {
  if (!piece_.empty()) write_(piece_);
  piece_.clear();
}

std::string JsonValue(FieldKind kind, const FieldValue& value) {
  if (!value) return "null";
  switch (kind) {
    case FieldKind::Number:
    case FieldKind::Flag:
      return *value;
    case FieldKind::DeviceList: {
      std::string array = "[";
      for (std::size_t at = 0; at < value->size();) {
        std::size_t end = value->find(' ', at);
        if (end == std::string::npos) end = value->size();
        array += (array.size() > 1 ? "," : "") +
                 JsonString(value->substr(at, end - at));
        at = end + 1;
      }
      return array + "]";
    }
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
  return kind == FieldKind::DeviceText || kind == FieldKind::DeviceList
             ? SpreadsheetText(*value)
             : *value;
}

SheetCell CellOf(FieldKind kind, const FieldValue& value) {
  if (!value) return {};
  switch (kind) {
    case FieldKind::Number:
      return {CellKind::Number, *value};
    case FieldKind::Flag:
      return {CellKind::Flag, *value};
    default:
      return {CellKind::Text, *value};
  }
}

}  // namespace cli
