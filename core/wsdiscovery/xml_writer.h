// The few pieces of XML that the probes and their answers are written with.
#pragma once

#include <string>

// `text` with the characters that would end or break element content
// written as entities.
std::string XmlEscaped(const std::string& text);

// ` xmlns:prefix="uri"`, ready to stand among an element's attributes.
std::string XmlDeclaration(const std::string& prefix, const char* uri);

// <name attributes>content</name>; `attributes` starts with its space.
std::string XmlElement(const std::string& name, const std::string& attributes,
                       const std::string& content);
