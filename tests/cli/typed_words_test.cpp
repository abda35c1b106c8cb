// The one matcher every typed name goes through: edits counted, a close
// known name offered, a far one not.
#include "cli/format/typed_words.h"

#include <gtest/gtest.h>

namespace cli {
namespace {

TEST(TypedWords, TheClosestKnownNameIsOfferedOnlyWhenClose) {
  const std::vector<std::string> options = {"--timeout", "--format",
                                            "--adapter", "--verify-timeout"};
  const std::vector<std::string> commands = {"help", "search", "set", "plan",
                                             "watch"};
  const struct {
    const char* typed;
    const std::vector<std::string>& known;
    const char* offered;
  } CASES[] = {
      {"--timout", options, "; did you mean '--timeout'?"},
      {"--TIMEOUT", options, "; did you mean '--timeout'?"},
      {"--verify-timeot", options, "; did you mean '--verify-timeout'?"},
      {"--ip", options, ""},
      {"serch", commands, "; did you mean 'search'?"},
      {"hlep", commands, "; did you mean 'help'?"},
      {"find", commands, ""},
      {"frobnicate", commands, ""},
  };
  for (const auto& c : CASES)
    EXPECT_EQ(DidYouMean(c.typed, c.known), c.offered) << c.typed;
}

TEST(TypedWords, EditsAreCounted) {
  EXPECT_EQ(EditDistance("kitten", "sitting"), 3u);
  EXPECT_EQ(EditDistance("", "abc"), 3u);
  EXPECT_EQ(EditDistance("JSON", "json"), 0u);
  EXPECT_EQ(EditDistance("--tiemout", "--timeout"), 1u);
  EXPECT_EQ(EditDistance("ca", "abc"), 3u);
}

}  // namespace
}  // namespace cli
