#include "cli/device/mac_text.h"

#include <cstddef>

#include "core/text/ascii_words.h"

namespace cli {
namespace {

// Each run of blanks inside the address as one colon: "02 51 4C 10 00 02"
// becomes the first form ParseMac reads, which then checks the pairs.
std::string WithColons(const std::string& text) {
  std::string colons;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool blank = text[i] == ' ' || text[i] == '\t';
    if (!blank) {
      colons.push_back(text[i]);
    } else if (colons.back() != ':') {
      colons.push_back(':');
    }
  }
  return colons;
}

}  // namespace

const char* const MAC_FORMS =
    "00:1A:2B:00:01:03, 00-1A-2B-00-01-03, 00 1A 2B 00 01 03, 001A2B000103 "
    "or 001a.2b00.0103";

bool ReadMacText(const std::string& text, Mac* mac) {
  return ParseMac(WithColons(Trimmed(text)), mac);
}

std::string SplitMac(const std::vector<std::string>& words) {
  constexpr std::size_t PAIRS = 6;
  if (words.size() < PAIRS) return std::string();
  std::string joined;
  for (std::size_t i = 0; i < PAIRS; ++i) {
    if (words[i].size() != 2) return std::string();
    joined += (i ? " " : "") + words[i];
  }
  Mac mac{};
  return ReadMacText(joined, &mac) ? joined : std::string();
}

}  // namespace cli
