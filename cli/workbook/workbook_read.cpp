#include "cli/workbook/workbook_read.h"

#include <map>
#include <utility>

#include "cli/format/text_encoding.h"
#include "cli/format/text_formats.h"
#include "cli/workbook/sheet_cells.h"
#include "cli/workbook/xml_events.h"
#include "cli/workbook/zip_members.h"
#include "core/text/ascii_words.h"

namespace cli {
namespace {

const std::string ZIP_MAGIC = "PK\x03\x04";
// An OLE compound file: a legacy .xls, or an encrypted workbook's wrapper.
const std::string COMPOUND_MAGIC = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
// The stream an encrypted workbook keeps its zip in, as UTF-16LE.
const std::string ENCRYPTED_STREAM{
    "E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32};

constexpr const char* SAVE_AS = "save it as .xlsx or CSV";

std::string FolderOf(const std::string& part) {
  const std::size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship's target as a part's name: from the zip's root when it
// starts with '/', else from the folder of the part that names it.
std::string PartName(const std::string& folder, const std::string& target) {
  return target.compare(0, 1, "/") == 0 ? target.substr(1) : folder + target;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct Relationship {
  std::string type;
  std::string target;
};

// The parts of a zip, with the message for a part that cannot be read.
class Parts {
 public:
  explicit Parts(const std::string& bytes) : zip_(bytes) {}
  bool Opened() const { return zip_.Opened(); }

  // The part `name`; false with `why` set. A missing part that is
  // `optional` is empty.
  bool Read(const std::string& name, std::string* bytes, std::string* why,
            bool optional = false) {
    Member member = zip_.Read(name);
    switch (member.status) {
      case MemberRead::Ok:
        *bytes = std::move(member.bytes);
        return true;
      case MemberRead::Missing:
        if (optional) return true;
        *why = "not a workbook: the zip has no part '" + Printable(name) + "'";
        return false;
      case MemberRead::Bomb:
        *why = "the part '" + Printable(name) +
               "' would unpack to more than 64 MiB or 100 times its size: "
               "refused as a zip bomb";
        return false;
      case MemberRead::Encrypted:
        *why = std::string("the workbook is password-protected: ") + SAVE_AS +
               " without a password";
        return false;
      case MemberRead::Damaged:
        break;
    }
    *why = "the workbook is damaged: its part '" + Printable(name) +
           "' cannot be unpacked";
    return false;
  }

  // The relationships of `part` by their ids.
  bool Relationships(const std::string& part,
                     std::map<std::string, Relationship>* found,
                     std::string* why) {
    const std::string name = FolderOf(part) + "_rels/" +
                             part.substr(FolderOf(part).size()) + ".rels";
    std::string xml;
    if (!Read(name, &xml, why, true)) return false;
    if (xml.empty()) return true;  // a part that links to nothing
    XmlCalls calls;
    calls.start = [&](const std::string& element, const XmlAttributes& at) {
      if (element == "Relationship")
        (*found)[AttributeOf(at, "Id")] = {AttributeOf(at, "Type"),
                                           AttributeOf(at, "Target")};
    };
    return Parsed(name, xml, calls, why);
  }

  static bool Parsed(const std::string& name, const std::string& xml,
                     const XmlCalls& calls, std::string* why) {
    const XmlRead read = ReadXmlEvents(xml, calls);
    if (read == XmlRead::Ok) return true;
    *why = "the part '" + Printable(name) + "' " +
           (read == XmlRead::Doctype ? "holds a DOCTYPE, which is refused"
                                     : "is not well-formed XML");
    return false;
  }

 private:
  ZipMembers zip_;
};

struct SheetEntry {
  std::string name;
  std::string id;
};

WorkbookCells Refused(std::string why) {
  WorkbookCells cells;
  cells.why = std::move(why);
  return cells;
}

}  // namespace

bool LooksLikeWorkbook(const std::string& bytes) {
  return bytes.compare(0, ZIP_MAGIC.size(), ZIP_MAGIC) == 0 ||
         bytes.compare(0, COMPOUND_MAGIC.size(), COMPOUND_MAGIC) == 0;
}

WorkbookCells ReadWorkbookCells(const std::string& bytes,
                                const std::string& sheet) {
  if (bytes.compare(0, COMPOUND_MAGIC.size(), COMPOUND_MAGIC) == 0) {
    if (bytes.find(ENCRYPTED_STREAM) != std::string::npos)
      return Refused(std::string("the workbook is password-protected: ") +
                     SAVE_AS + " without a password");
    return Refused(std::string("a legacy .xls workbook: ") + SAVE_AS);
  }
  Parts parts(bytes);
  if (!parts.Opened())
    return Refused("the workbook is damaged: it is not a readable zip");
  std::string why;
  // The package names its workbook part; most keep it at xl/workbook.xml.
  std::map<std::string, Relationship> package;
  if (!parts.Relationships("", &package, &why)) return Refused(why);
  std::string book = "xl/workbook.xml";
  for (const auto& [id, relationship] : package)
    if (EndsWith(relationship.type, "/officeDocument"))
      book = PartName("", relationship.target);
  std::string xml;
  if (!parts.Read(book, &xml, &why)) return Refused(why);
  std::vector<SheetEntry> sheets;
  XmlCalls calls;
  calls.start = [&](const std::string& element, const XmlAttributes& at) {
    if (element == "sheet")
      sheets.push_back({AttributeOf(at, "name"), AttributeOf(at, "id")});
  };
  if (!Parts::Parsed(book, xml, calls, &why)) return Refused(why);
  std::map<std::string, Relationship> links;
  if (!parts.Relationships(book, &links, &why)) return Refused(why);

  const SheetEntry* chosen = sheets.empty() ? nullptr : &sheets[0];
  if (!sheet.empty()) {
    chosen = nullptr;
    std::vector<std::string> names;
    for (const SheetEntry& entry : sheets) {
      if (AsciiLower(entry.name) == AsciiLower(sheet)) chosen = &entry;
      names.push_back("'" + Printable(entry.name) + "'");
    }
    if (!chosen)
      return Refused("the workbook has no sheet '" + Printable(sheet) +
                     "'; its sheets: " + Joined(names, ", "));
  }
  if (!chosen || !links.count(chosen->id))
    return Refused("the workbook has no worksheet");
  std::vector<std::string> strings;
  for (const auto& [id, relationship] : links) {
    if (!EndsWith(relationship.type, "/sharedStrings")) continue;
    const std::string name = PartName(FolderOf(book), relationship.target);
    if (!parts.Read(name, &xml, &why)) return Refused(why);
    if (!ReadSharedStrings(xml, &strings))
      return Refused("the part '" + Printable(name) +
                     "' is not well-formed XML without a DOCTYPE");
  }
  const std::string name =
      PartName(FolderOf(book), links.at(chosen->id).target);
  if (!parts.Read(name, &xml, &why)) return Refused(why);
  SheetCells read = ReadSheetCells(xml, strings);
  if (!read.ok)
    return Refused("sheet '" + Printable(chosen->name) + "': " + read.why);
  WorkbookCells cells;
  cells.ok = true;
  cells.sheet = chosen->name;
  cells.records = std::move(read.rows);
  return cells;
}

}  // namespace cli
