#include "core/text/option_loop.h"

#include <gtest/gtest.h>

namespace {

// Reads `args` with --flag and --name known; what was read, one piece each.
std::string Read(const std::vector<std::string>& args) {
  std::string read;
  OptionReader reader;
  reader.kind = [](const std::string& name) {
    if (name == "--flag") return OptionKind::Flag;
    return name == "--name" ? OptionKind::Valued : OptionKind::Unknown;
  };
  reader.option = [&](const std::string& name, const std::string& value,
                      std::string* error) {
    if (value == "bad") {
      *error = "bad " + name;
      return false;
    }
    read += "[" + name + "=" + value + "]";
    return true;
  };
  reader.positional = [&](const std::string& arg, std::string*) {
    read += "(" + arg + ")";
    return true;
  };
  std::string error;
  return ReadOptions(args, 1, reader, &error) ? read : "error: " + error;
}

TEST(OptionLoop, ReadsBothSpellingsFlagsAndPositionals) {
  const struct {
    std::vector<std::string> args;
    std::string read;
  } CASES[] = {
      {{"skipped", "--name", "a", "--name=b=c", "--flag", "-x", "p"},
       "[--name=a][--name=b=c][--flag=](-x)(p)"},
      {{"skipped", "--name", "--flag"}, "[--name=--flag]"},
      {{"skipped", "--name="}, "[--name=]"},
      {{"skipped", "--other=1"}, "error: unknown option '--other'"},
      {{"skipped", "--flag=yes"}, "error: --flag takes no value"},
      {{"skipped", "p", "--name"}, "error: --name needs a value"},
      {{"skipped", "--name", "bad", "--other"}, "error: bad --name"},
  };
  for (const auto& c : CASES) EXPECT_EQ(Read(c.args), c.read);
}

}  // namespace
