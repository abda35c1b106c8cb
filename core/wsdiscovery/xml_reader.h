// A namespace-aware reading of a small XML document with expat into a tree
// that keeps each element's namespace declarations, so that QNames in text
// (WS-Discovery's Types) resolve as the document declared them. Elements are
// named by namespace URI and local name, never by prefix. A DOCTYPE is
// refused, so no entity is ever declared or fetched; sizes are capped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct XmlName {
  std::string ns;
  std::string local;
};
bool operator==(const XmlName& a, const XmlName& b);

enum class XmlStatus { Ok, TooLarge, Doctype, Malformed };

// Limits for bytes from the network: a reply may exceed one datagram's usual
// size, never 64 KiB.
constexpr std::size_t XML_MAX_INPUT = 64 * 1024;
constexpr std::size_t XML_MAX_ELEMENTS = 2048;
constexpr std::size_t XML_MAX_TEXT = 8 * 1024;

struct XmlElement {
  XmlName name;
  std::string text;  // the character data directly inside, joined
  // (prefix, URI) as declared on this element; "" is the default namespace.
  std::vector<std::pair<std::string, std::string>> declarations;
  std::size_t parent = 0;  // index; the root is its own parent
  std::vector<std::size_t> children;
};

struct XmlDocument {
  XmlStatus status = XmlStatus::Malformed;
  std::vector<XmlElement> elements;  // the root first when status is Ok

  // The children of `element` named `name`, in document order.
  std::vector<std::size_t> Children(std::size_t element,
                                    const XmlName& name) const;
  // The first such child, if any.
  std::optional<std::size_t> Child(std::size_t element,
                                   const XmlName& name) const;
  // The URI `prefix` stands for at `element`; "" asks for the default
  // namespace, which is "" when none is declared. Nothing for an undeclared
  // prefix.
  std::optional<std::string> Namespace(std::size_t element,
                                       const std::string& prefix) const;
  // The QName `qname` ("p:local" or "local") resolved at `element`.
  std::optional<XmlName> Resolve(std::size_t element,
                                 const std::string& qname) const;
};

XmlDocument ReadXml(const std::uint8_t* bytes, std::size_t size);

// `text` without XML white space at either end.
std::string XmlTrimmed(const std::string& text);
// The items of a white-space separated list (xs:list).
std::vector<std::string> XmlList(const std::string& text);
