#include "core/wsdiscovery/xml_writer.h"

std::string XmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out.push_back(c);
  }
  return out;
}

std::string XmlDeclaration(const std::string& prefix, const char* uri) {
  return " xmlns:" + prefix + "=\"" + uri + "\"";
}

std::string XmlElement(const std::string& name, const std::string& attributes,
                       const std::string& content) {
  return "<" + name + attributes + ">" + content + "</" + name + ">";
}
