#include "cli/workbook/xml_events.h"

#include <expat.h>

#include <memory>

namespace cli {
namespace {

// Between a name's namespace and its local part.
constexpr char SEPARATOR = '\t';

struct Reading {
  const XmlCalls* calls;
  XML_Parser parser;
  bool doctype = false;
};

Reading& Of(void* data) { return *static_cast<Reading*>(data); }

std::string LocalName(const XML_Char* name) {
  const std::string full(name);
  const std::size_t at = full.rfind(SEPARATOR);
  return at == std::string::npos ? full : full.substr(at + 1);
}

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  XmlAttributes read;
  for (const XML_Char** at = attributes; *at; at += 2)
    read.emplace_back(LocalName(at[0]), at[1]);
  if (Of(data).calls->start) Of(data).calls->start(LocalName(name), read);
}

void OnEnd(void* data, const XML_Char* name) {
  if (Of(data).calls->end) Of(data).calls->end(LocalName(name));
}

void OnText(void* data, const XML_Char* text, int length) {
  if (Of(data).calls->text) Of(data).calls->text(text, length);
}

void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
               int) {
  Of(data).doctype = true;
  XML_StopParser(Of(data).parser, XML_FALSE);
}

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

std::string AttributeOf(const XmlAttributes& attributes, const char* name) {
  for (const auto& [key, value] : attributes)
    if (key == name) return value;
  return {};
}

XmlRead ReadXmlEvents(const std::string& bytes, const XmlCalls& calls) {
  const std::unique_ptr<XML_ParserStruct, ParserFree> parser(
      XML_ParserCreateNS(nullptr, SEPARATOR));
  if (!parser) return XmlRead::Malformed;
  Reading reading{&calls, parser.get()};
  XML_SetUserData(parser.get(), &reading);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  // In pieces: expat takes an int's worth at a time.
  constexpr std::size_t PIECE = 1 << 20;
  for (std::size_t at = 0;; at += PIECE) {
    const bool last = at + PIECE >= bytes.size();
    const std::size_t size = last ? bytes.size() - at : PIECE;
    if (XML_Parse(parser.get(), bytes.data() + at, static_cast<int>(size),
                  last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK)
      return reading.doctype ? XmlRead::Doctype : XmlRead::Malformed;
    if (last) return XmlRead::Ok;
  }
}

}  // namespace cli
