// How the command line reads the words a user types: names that ignore
// case, and a known name offered for one that was mistyped.
#pragma once

#include <string>
#include <vector>

namespace cli {

// True when `typed` is `word` but for the case of ASCII letters.
bool SameWord(const std::string& typed, const std::string& word);

// The number of single-letter insertions, deletions and replacements, and
// swaps of two neighbours, that turn one word into the other, case ignored
// (Levenshtein's distance with swaps, the optimal string alignment).
std::size_t EditDistance(const std::string& a, const std::string& b);

// "; did you mean 'WORD'?" for the known word closest to `typed`, or empty
// when none is close: at most two edits, and few next to the word's length
// (its leading dashes aside), so that a word merely as short is not offered.
std::string DidYouMean(const std::string& typed,
                       const std::vector<std::string>& known);

}  // namespace cli
