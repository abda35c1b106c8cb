// The fields the command line prints, one table per kind of record: per
// field its key (JSON, CSV and the plan's columns), its table heading, its
// kind, and how its value is taken from a record. One writer per form works
// from such a table, so a field is written alike everywhere, and its JSON
// kind comes from its field, never from its name.
#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "cli/format/sheet_lines.h"
#include "cli/format/text_formats.h"

namespace cli {

// The forms of a report.
enum class Format { Table, Json, Csv, Xlsx };

// What a field holds, which decides how each form writes it.
enum class FieldKind {
  Address,     // dotted, or none
  Number,      // a whole number, bare in JSON
  Word,        // a word of ours: a MAC, a status, a mode's name
  Text,        // a sentence of ours
  DeviceText,  // a text a device sends, which may pose as a formula
  Flag,        // true or false, bare in JSON
  // Texts a device sends, which hold no blank (URLs): held and written
  // blank-separated, an array in JSON.
  DeviceList,
};

// A field's value in one record; none is null in JSON and empty elsewhere.
using FieldValue = std::optional<std::string>;

// What a field is to its record, for those who compare records.
enum class FieldUse {
  Reported,  // what the device reports, a setting or not
  Derived,   // made from other fields (a mode's name, the URL, the note)
};

template <typename Record>
struct Field {
  using Of = Record;
  const char* key;
  const char* heading;
  FieldKind kind;
  FieldValue (*value)(const Record& record);
  FieldUse use = FieldUse::Reported;
};

// The fields of one form of a report, in the order it writes them.
template <typename Record>
using Fields = std::vector<const Field<Record>*>;

// One value as each form writes it.
std::string JsonValue(FieldKind kind, const FieldValue& value);
std::string CsvValue(FieldKind kind, const FieldValue& value);
// A field's value as the workbook types it: numbers and flags as such,
// everything else as text.
SheetCell CellOf(FieldKind kind, const FieldValue& value);

// {"key":value,...} on one line, appended to `out`.
template <typename Record>
void AppendJsonObject(const Fields<Record>& fields, const Record& record,
                      std::string* out) {
  out->push_back('{');
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out->push_back(',');
    out->push_back('"');
    *out += fields[i]->key;
    *out += "\":";
    *out += JsonValue(fields[i]->kind, fields[i]->value(record));
  }
  out->push_back('}');
}

template <typename Record>
std::string JsonObject(const Fields<Record>& fields, const Record& record) {
  std::string object;
  AppendJsonObject(fields, record, &object);
  return object;
}

// Takes the text of a report a piece at a time.
using TextSink = std::function<void(const std::string& piece)>;

// Collects the lines of a report and hands them on a piece at a time of
// some tens of kilobytes: the report of tens of thousands of devices never
// becomes one string of tens of megabytes, whose fresh pages cost more
// than its text.
class Pieces {
 public:
  explicit Pieces(const TextSink& write);
  std::string& Text() { return piece_; }
  // After each whole line: the piece goes once it is full.
  void LineDone();
  // Hands on what is left.
  void End();

 private:
  const TextSink& write_;
  std::string piece_;
};

// "[\n  {...},\n  {...}\n]\n", or "[]\n" for no records.
template <typename Record>
void WriteJsonArray(const Fields<Record>& fields,
                    const std::vector<Record>& records, const TextSink& write) {
  if (records.empty()) {
    write("[]\n");
    return;
  }
  Pieces out(write);
  out.Text() += "[\n";
  for (std::size_t i = 0; i < records.size(); ++i) {
    out.Text() += "  ";
    AppendJsonObject(fields, records[i], &out.Text());
    out.Text() += i + 1 < records.size() ? ",\n" : "\n";
    out.LineDone();
  }
  out.Text() += "]\n";
  out.End();
}

// The keys' line, then a line per record: each field's value made a cell by
// `cell` and the cells a line by `line`.
template <typename Record, typename Cell>
void WriteLines(const Fields<Record>& fields,
                const std::vector<Record>& records,
                Cell (*cell)(FieldKind, const FieldValue&),
                std::string (*line)(const std::vector<Cell>&),
                const TextSink& write) {
  Pieces out(write);
  std::vector<Cell> cells;
  for (const Field<Record>* field : fields)
    cells.push_back(cell(FieldKind::Word, field->key));
  out.Text() += line(cells);
  for (const Record& record : records) {
    cells.clear();
    for (const Field<Record>* field : fields)
      cells.push_back(cell(field->kind, field->value(record)));
    out.Text() += line(cells);
    out.LineDone();
  }
  out.End();
}

// RFC 4180.
template <typename Record>
void WriteCsv(const Fields<Record>& fields, const std::vector<Record>& records,
              const TextSink& write) {
  WriteLines(fields, records, CsvValue, CsvLine, write);
}

// A workbook's typed cells, the keys as text.
template <typename Record>
void WriteSheetLines(const Fields<Record>& fields,
                     const std::vector<Record>& records,
                     const TextSink& write) {
  WriteLines(fields, records, CellOf, SheetLine, write);
}

// What a writer hands on, as one string.
template <typename Write>
std::string Collected(Write write) {
  std::string text;
  write([&text](const std::string& piece) { text += piece; });
  return text;
}

template <typename Record>
std::string Table(const Fields<Record>& fields,
                  const std::vector<Record>& records) {
  std::vector<std::string> headings;
  for (const Field<Record>* field : fields) headings.push_back(field->heading);
  std::vector<std::vector<std::string>> rows;
  for (const Record& record : records) {
    rows.emplace_back();
    for (const Field<Record>* field : fields)
      rows.back().push_back(field->value(record).value_or(""));
  }
  return AlignedTable(headings, rows);
}

// The records as a JSON array, CSV or a workbook's lines of `fields`, or a
// table of `columns`.
template <typename Record>
void WriteReport(Format format, const Fields<Record>& fields,
                 const Fields<Record>& columns,
                 const std::vector<Record>& records, const TextSink& write) {
  if (format == Format::Json) {
    WriteJsonArray(fields, records, write);
  } else if (format == Format::Csv) {
    WriteCsv(fields, records, write);
  } else if (format == Format::Xlsx) {
    WriteSheetLines(fields, records, write);
  } else {
    write(Table(columns, records));
  }
}

// The fields of `all` (an array or a vector of fields) whose keys `keys`
// names, in the order of `keys`.
template <typename All>
auto Pick(const All& all, const std::vector<std::string>& keys) {
  using Of = typename std::decay_t<decltype(*std::begin(all))>::Of;
  Fields<Of> picked;
  for (const std::string& key : keys)
    for (const Field<Of>& field : all)
      if (key == field.key) picked.push_back(&field);
  return picked;
}

}  // namespace cli
