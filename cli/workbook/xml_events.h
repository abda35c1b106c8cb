// A workbook part's XML read as a stream of events with expat: a sheet of
// tens of thousands of rows is never held as a tree. Elements and
// attributes are named by their local names, whatever their prefixes. A
// DOCTYPE is refused, so no entity is ever declared or fetched (the
// "billion laughs"): a workbook is a file from anywhere.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace cli {

// (local name, value) of an element's attributes.
using XmlAttributes = std::vector<std::pair<std::string, std::string>>;

// The value of `name` among `attributes`, or empty.
std::string AttributeOf(const XmlAttributes& attributes, const char* name);

struct XmlCalls {
  std::function<void(const std::string& name, const XmlAttributes&)> start;
  std::function<void(const std::string& name)> end;
  std::function<void(const char* text, int length)> text;
};

enum class XmlRead { Ok, Doctype, Malformed };

XmlRead ReadXmlEvents(const std::string& bytes, const XmlCalls& calls);

}  // namespace cli
