#include "cli/format/typed_words.h"

#include <algorithm>
#include <cstddef>

#include "core/text/ascii_words.h"

namespace cli {
namespace {

constexpr std::size_t MOST_EDITS = 2;

}  // namespace

bool SameWord(const std::string& typed, const std::string& word) {
  return AsciiLower(typed) == AsciiLower(word);
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  const std::string x = AsciiLower(a);
  const std::string y = AsciiLower(b);
  // Three rows of the table: d[i][j] is the distance from the first i
  // letters of x to the first j of y.
  std::vector<std::size_t> before(y.size() + 1);
  std::vector<std::size_t> last(y.size() + 1);
  std::vector<std::size_t> row(y.size() + 1);
  for (std::size_t j = 0; j < row.size(); ++j) last[j] = j;
  for (std::size_t i = 1; i <= x.size(); ++i) {
    row[0] = i;
    for (std::size_t j = 1; j <= y.size(); ++j) {
      row[j] = std::min({last[j] + 1, row[j - 1] + 1,
                         last[j - 1] + (x[i - 1] == y[j - 1] ? 0 : 1)});
      // Two neighbours typed the wrong way round ("hlep") are one slip.
      if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
        row[j] = std::min(row[j], before[j - 2] + 1);
    }
    before.swap(last);
    last.swap(row);
  }
  return last[y.size()];
}

std::string DidYouMean(const std::string& typed,
                       const std::vector<std::string>& known) {
  const std::string* best = nullptr;
  std::size_t bestDistance = MOST_EDITS + 1;
  for (const std::string& word : known) {
    const std::size_t distance = EditDistance(typed, word);
    const std::size_t letters = word.size() - word.find_first_not_of('-');
    // "ip" is two edits from "up" and from any other two letters.
    if (distance < bestDistance && distance * 3 <= letters) {
      best = &word;
      bestDistance = distance;
    }
  }
  return best ? "; did you mean '" + *best + "'?" : std::string();
}

}  // namespace cli
