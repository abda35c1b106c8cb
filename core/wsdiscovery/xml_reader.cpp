#include "core/wsdiscovery/xml_reader.h"

#include <expat.h>

#include <memory>

namespace {

constexpr XML_Char NAME_SEPARATOR = ' ';  // never inside a local name
constexpr const char* XML_NAMESPACE = "http://www.w3.org/XML/1998/namespace";

bool IsXmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

XmlName SplitName(const XML_Char* name) {
  const std::string text(name);
  const std::size_t at = text.rfind(NAME_SEPARATOR);
  if (at == std::string::npos) return {std::string(), text};
  return {text.substr(0, at), text.substr(at + 1)};
}

struct Reading {
  XML_Parser parser = nullptr;
  XmlDocument document;
  std::vector<std::size_t> open;  // the path from the root to the element
  std::vector<std::pair<std::string, std::string>> pending;

  // expat still reports the end of an empty element whose start stopped it.
  bool Refused() const { return document.status != XmlStatus::Ok; }
  void Refuse(XmlStatus status) {
    document.status = status;
    XML_StopParser(parser, XML_FALSE);
  }
};

Reading& Of(void* data) { return *static_cast<Reading*>(data); }

void OnNamespace(void* data, const XML_Char* prefix, const XML_Char* uri) {
  Of(data).pending.emplace_back(prefix ? prefix : "", uri ? uri : "");
}

void OnStart(void* data, const XML_Char* name, const XML_Char** /*atts*/) {
  Reading& reading = Of(data);
  std::vector<XmlElement>& elements = reading.document.elements;
  if (elements.size() >= XML_MAX_ELEMENTS) {
    reading.Refuse(XmlStatus::TooLarge);
    return;
  }
  XmlElement element;
  element.name = SplitName(name);
  element.declarations.swap(reading.pending);
  const std::size_t index = elements.size();
  element.parent = reading.open.empty() ? index : reading.open.back();
  if (!reading.open.empty())
    elements[reading.open.back()].children.push_back(index);
  elements.push_back(std::move(element));
  reading.open.push_back(index);
}

void OnEnd(void* data, const XML_Char* /*name*/) {
  Reading& reading = Of(data);
  if (!reading.Refused()) reading.open.pop_back();
}

void OnText(void* data, const XML_Char* text, int length) {
  Reading& reading = Of(data);
  if (reading.Refused() || reading.open.empty()) return;
  std::string& into = reading.document.elements[reading.open.back()].text;
  if (into.size() + static_cast<std::size_t>(length) > XML_MAX_TEXT) {
    reading.Refuse(XmlStatus::TooLarge);
    return;
  }
  into.append(text, static_cast<std::size_t>(length));
}

// A document type could declare entities (the "billion laughs") or fetch
// external ones; the messages read here never carry one.
void OnDoctype(void* data, const XML_Char* /*name*/, const XML_Char* /*sysid*/,
               const XML_Char* /*pubid*/, int /*internal*/) {
  Of(data).Refuse(XmlStatus::Doctype);
}

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

bool operator==(const XmlName& a, const XmlName& b) {
  return a.ns == b.ns && a.local == b.local;
}

std::vector<std::size_t> XmlDocument::Children(std::size_t element,
                                               const XmlName& name) const {
  std::vector<std::size_t> found;
  for (std::size_t child : elements[element].children)
    if (elements[child].name == name) found.push_back(child);
  return found;
}

std::optional<std::size_t> XmlDocument::Child(std::size_t element,
                                              const XmlName& name) const {
  for (std::size_t child : elements[element].children)
    if (elements[child].name == name) return child;
  return std::nullopt;
}

std::optional<std::string> XmlDocument::Namespace(
    std::size_t element, const std::string& prefix) const {
  if (prefix == "xml") return std::string(XML_NAMESPACE);
  for (;;) {
    const XmlElement& at = elements[element];
    // The last declaration on one element wins, as expat reports them.
    for (auto it = at.declarations.rbegin(); it != at.declarations.rend(); ++it)
      if (it->first == prefix) return it->second;
    if (at.parent == element) break;
    element = at.parent;
  }
  if (prefix.empty()) return std::string();
  return std::nullopt;
}

std::optional<XmlName> XmlDocument::Resolve(std::size_t element,
                                            const std::string& qname) const {
  const std::size_t colon = qname.find(':');
  const std::string prefix =
      colon == std::string::npos ? std::string() : qname.substr(0, colon);
  const std::string local =
      colon == std::string::npos ? qname : qname.substr(colon + 1);
  if (colon == 0 || local.empty() || local.find(':') != std::string::npos)
    return std::nullopt;
  const std::optional<std::string> ns = Namespace(element, prefix);
  if (!ns) return std::nullopt;
  return XmlName{*ns, local};
}

XmlDocument ReadXml(const std::uint8_t* bytes, std::size_t size) {
  Reading reading;
  if (size > XML_MAX_INPUT) {
    reading.document.status = XmlStatus::TooLarge;
    return reading.document;
  }
  const std::unique_ptr<XML_ParserStruct, ParserFree> parser(
      XML_ParserCreateNS(nullptr, NAME_SEPARATOR));
  if (!parser) return reading.document;
  reading.parser = parser.get();
  reading.document.status = XmlStatus::Ok;
  XML_SetUserData(parser.get(), &reading);
  XML_SetStartNamespaceDeclHandler(parser.get(), OnNamespace);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  const XML_Status parsed =
      XML_Parse(parser.get(), reinterpret_cast<const char*>(bytes),
                static_cast<int>(size), XML_TRUE);
  if (parsed != XML_STATUS_OK && reading.document.status == XmlStatus::Ok)
    reading.document.status = XmlStatus::Malformed;
  if (reading.document.status != XmlStatus::Ok)
    reading.document.elements.clear();
  return reading.document;
}

std::string XmlTrimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsXmlSpace(text[begin])) ++begin;
  while (end > begin && IsXmlSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::vector<std::string> XmlList(const std::string& text) {
  std::vector<std::string> items;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsXmlSpace(text[at])) ++at;
    const std::size_t begin = at;
    while (at < text.size() && !IsXmlSpace(text[at])) ++at;
    if (at > begin) items.push_back(text.substr(begin, at - begin));
  }
  return items;
}
