#include "cli/commands/options.h"

#include <gtest/gtest.h>

#include "cli/commands/adapter_check.h"
#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

TEST(CliOptions, CommandsWithTheirOptions) {
  const ParseResult search =
      ParseCommandLine({"search", "--timeout=1500", "--format", "csv",
                        "--adapter", "10.77.0.1"});
  ASSERT_TRUE(search.ok) << search.error;
  EXPECT_EQ(search.options.command, Command::Search);
  EXPECT_EQ(search.options.timeout.count(), 1500);
  EXPECT_EQ(search.options.format, Format::Csv);
  EXPECT_EQ(search.options.adapter, Ip(10, 77, 0, 1));

  const ParseResult set = ParseCommandLine(
      {"set", "02-00-5e-c1-00-07", "--ip", "10.77.0.50", "--mask",
       "255.255.0.0", "--gateway=10.77.0.254", "--mode", "DHCP", "--base-port",
       "9000", "--http-port", "-1", "--no-verify", "--verify-timeout", "5000",
       "--format", "json"});
  ASSERT_TRUE(set.ok) << set.error;
  const Options& o = set.options;
  EXPECT_EQ(o.mac, MacOf(7));
  EXPECT_EQ(*o.edit.ip, Ip(10, 77, 0, 50));
  EXPECT_EQ(*o.edit.mask, 0xFFFF0000u);
  EXPECT_EQ(*o.edit.gateway, Ip(10, 77, 0, 254));
  EXPECT_EQ(*o.edit.mode, IP_MODE_DHCP);
  EXPECT_EQ(*o.edit.basePort, 9000);
  EXPECT_EQ(*o.edit.httpPort, -1);
  EXPECT_FALSE(o.verify);
  EXPECT_EQ(o.verifyTimeout.count(), 5000);
  EXPECT_EQ(o.timeout.count(), 3000);

  const ParseResult plan =
      ParseCommandLine({"plan", "site.csv", "--apply", "--from", "10.77.0.100",
                        "--mask", "255.255.0.0", "--temp=10.77.0.250"});
  ASSERT_TRUE(plan.ok) << plan.error;
  EXPECT_EQ(plan.options.planPath, "site.csv");
  EXPECT_TRUE(plan.options.apply);
  EXPECT_EQ(plan.options.format, Format::Table);
  EXPECT_EQ(plan.options.from, Ip(10, 77, 0, 100));
  EXPECT_FALSE(plan.options.fromLast) << "--from A numbers to the subnet's end";
  EXPECT_EQ(plan.options.edit.mask, Ip(255, 255, 0, 0));
  ASSERT_TRUE(plan.options.temporary);
  EXPECT_EQ(plan.options.temporary->first, Ip(10, 77, 0, 250));
  EXPECT_EQ(plan.options.temporary->last, Ip(10, 77, 0, 250));
  const ParseResult book =
      ParseCommandLine({"plan", "site.xlsx", "--sheet", "Devices", "--format",
                        "XLSX", "--output=report.xlsx"});
  ASSERT_TRUE(book.ok) << book.error;
  EXPECT_EQ(book.options.sheet, "Devices");
  EXPECT_EQ(book.options.format, Format::Xlsx);
  EXPECT_EQ(book.options.output, "report.xlsx");
  const ParseResult range = ParseCommandLine(
      {"plan", "site.csv", "--temp", "10.77.0.240-10.77.0.249"});
  ASSERT_TRUE(range.ok && range.options.temporary) << range.error;
  EXPECT_EQ(range.options.temporary->first, Ip(10, 77, 0, 240));
  EXPECT_EQ(range.options.temporary->last, Ip(10, 77, 0, 249));
  const ParseResult from =
      ParseCommandLine({"plan", "site.csv", "--from=10.77.0.180-10.77.0.199"});
  ASSERT_TRUE(from.ok) << from.error;
  EXPECT_EQ(from.options.from, Ip(10, 77, 0, 180));
  EXPECT_EQ(from.options.fromLast, Ip(10, 77, 0, 199));
  for (const char* bad : {"10.77.0.249-10.77.0.240", "10.77.0.1-", "x"})
    EXPECT_FALSE(ParseCommandLine({"plan", "p.csv", "--temp", bad}).ok) << bad;

  const ParseResult watch = ParseCommandLine({"watch", "--interval", "5"});
  ASSERT_TRUE(watch.ok) << watch.error;
  EXPECT_EQ(watch.options.intervalSeconds, 5);
  EXPECT_EQ(ParseCommandLine({"watch"}).options.intervalSeconds, 10);
}

TEST(CliOptions, HelpAndVersionAnywhere) {
  EXPECT_TRUE(ParseCommandLine({"--version"}).options.version);
  EXPECT_TRUE(ParseCommandLine({"set", "--version"}).options.version);
  const ParseResult help = ParseCommandLine({"plan", "--bogus", "--help"});
  ASSERT_TRUE(help.ok);
  EXPECT_TRUE(help.options.help);
  EXPECT_EQ(help.options.command, Command::Plan);
  for (Command command : {Command::None, Command::Search, Command::Set,
                          Command::Plan, Command::Watch})
    EXPECT_NE(UsageText(command).find("Exit status"), std::string::npos);
}

TEST(CliOptions, WordsInAnyCaseAndValuesWithBlanks) {
  const struct {
    std::vector<std::string> args;
    Format format;
    Mac mac;
  } CASES[] = {
      {{"SEARCH", "--format", "JSON"}, Format::Json, {}},
      {{"search", "--format= Csv "}, Format::Csv, {}},
      {{"Set", "02 00 5E C1 00 07", "--format", "CSV"}, Format::Csv, MacOf(7)},
      {{"set", "02  00 5E\tC1 00 07", "--mode", " Fixed"},
       Format::Table,
       MacOf(7)},
  };
  for (const auto& c : CASES) {
    const ParseResult parsed = ParseCommandLine(c.args);
    ASSERT_TRUE(parsed.ok) << c.args[1] << ": " << parsed.error;
    EXPECT_EQ(parsed.options.format, c.format) << c.args[1];
    EXPECT_EQ(parsed.options.mac, c.mac) << c.args[1];
  }
  const ParseResult onvif = ParseCommandLine({"watch", "--protocol", " ONVIF"});
  ASSERT_TRUE(onvif.ok) << onvif.error;
  EXPECT_EQ(SearchProtocols(onvif.options), Protocols::Onvif);
  EXPECT_EQ(ParseCommandLine({"plan", "p.csv", "--protocol", "Onvif"}).error,
            "--protocol needs quellan or all, not 'Onvif'");
}

TEST(CliOptions, HelpIsACommandToo) {
  const struct {
    std::vector<std::string> args;
    Command command;
  } CASES[] = {
      {{"help"}, Command::None},
      {{"HELP", "set"}, Command::Set},
      {{"watch", "--help"}, Command::Watch},
  };
  for (const auto& c : CASES) {
    const ParseResult parsed = ParseCommandLine(c.args);
    ASSERT_TRUE(parsed.ok) << c.args[0] << ": " << parsed.error;
    EXPECT_TRUE(parsed.options.help);
    EXPECT_EQ(parsed.options.command, c.command);
  }
}

TEST(CliOptions, MistypedNamesAreAnsweredWithTheClosest) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } CASES[] = {
      {{"serch"}, "unknown command 'serch'; did you mean 'search'?"},
      {{"help", "frobnicate"}, "unknown command 'frobnicate'"},
      {{"search", "--timout", "5"},
       "unknown option '--timout'; did you mean '--timeout'?"},
      {{"set", "02 00 5E C1 00"},
       "'02 00 5E C1 00' is not a MAC address; write it 00:1A:2B:00:01:03, "
       "00-1A-2B-00-01-03, 00 1A 2B 00 01 03, 001A2B000103 or "
       "001a.2b00.0103"},
      {{"watch", "--format", "CSV"}, "--format needs table or json, not 'CSV'"},
  };
  for (const auto& c : CASES)
    EXPECT_EQ(ParseCommandLine(c.args).error, c.error) << c.args[0];
}

TEST(CliOptions, AnAdapterNotOfThisComputerIsAnsweredWithItsAddresses) {
  const std::vector<LocalAdapter> two = {{Ip(10, 77, 0, 1), MASK24, 2, "a"},
                                         {Ip(10, 78, 0, 1), MASK24, 3, "b"}};
  const struct {
    std::uint32_t adapter;
    std::vector<LocalAdapter> local;
    const char* text;
  } CASES[] = {
      {0, {}, ""},
      {Ip(10, 78, 0, 1), two, ""},
      {Ip(10, 99, 0, 1), two,
       "no local adapter has the address 10.99.0.1; this computer's addresses "
       "are 10.77.0.1 and 10.78.0.1"},
      {Ip(10, 99, 0, 1),
       {},
       "no local adapter has the address 10.99.0.1; this computer has no "
       "IPv4 address"},
  };
  for (const auto& c : CASES)
    EXPECT_EQ(UnknownAdapterText(c.adapter, c.local), c.text) << c.text;
}

TEST(CliOptions, ErrorsSayWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } CASES[] = {
      {{}, "name a command"},
      {{"find"}, "unknown command 'find'"},
      {{"search", "--ip", "10.0.0.1"}, "unknown option '--ip'"},
      {{"search", "--format", "xml"},
       "--format needs table, json, csv or xlsx"},
      {{"watch", "--format=csv"}, "--format needs table or json"},
      {{"watch", "--format=xlsx"}, "--format needs table or json"},
      {{"watch", "--output", "w.csv"}, "unknown option '--output'"},
      {{"search", "--sheet", "Devices"}, "unknown option '--sheet'"},
      {{"search", "--output", " "}, "--output needs a file name"},
      {{"search", "--timeout", "0"}, "--timeout needs milliseconds"},
      {{"search", "--timeout"}, "--timeout needs a value"},
      {{"search", "extra"}, "unexpected argument 'extra'"},
      {{"search", "--adapter", "10.77.0"}, "--adapter needs an address"},
      {{"set"}, "set needs the MAC address"},
      {{"set", "02:00:5E:C1:00"}, "'02:00:5E:C1:00' is not a MAC address"},
      {{"set", "02", "51", "4C", "30", "00", "03", "--gateway", "10.0.0.1"},
       "'02' is not a MAC address: the shell splits a MAC written with "
       "blanks into six arguments; quote it: \"02 51 4C 30 00 03\""},
      {{"set", "02", "51", "4C", "30", "00"},
       "'02' is not a MAC address; write it 00:1A:2B"},
      {{"plan", "a.csv", "--from", "10.0.0.9-10.0.0.1"},
       "--from needs an address a.b.c.d or a range"},
      {{"set", "02:00:5E:C1:00:01", "--mode", "static"},
       "--mode needs fixed, dhcp or pppoe"},
      {{"set", "02:00:5E:C1:00:01", "--http-port", "80x"},
       "--http-port needs a whole number"},
      {{"set", "02:00:5E:C1:00:01", "--no-verify=1"},
       "--no-verify takes no value"},
      {{"set", "02:00:5E:C1:00:01", "--mask", "255.255.0.255"},
       "--mask 255.255.0.255 is not a subnet mask: its ones must come first"},
      {{"set", "02:00:5E:C1:00:01", "--mask=255.255.255.255"},
       "--mask 255.255.255.255 (/32) leaves no address for a device"},
      {{"plan", "a.csv", "--from", "10.0.0.1", "--mask", "0.0.0.0"},
       "--mask 0.0.0.0 (/0) is no subnet mask for a device"},
      {{"plan"}, "plan needs the plan file"},
      {{"plan", "a.csv", "b.csv"}, "unexpected argument 'b.csv'"},
      {{"plan", "a.csv", "--gateway", "10.0.0.1"},
       "--mask and --gateway go with --from"},
      {{"plan", "a.csv", "--ip", "10.0.0.1"}, "unknown option '--ip'"},
      {{"watch", "--interval", "4"}, "--interval must be at least 5 seconds"},
      {{"watch", "--interval", "ten"}, "--interval needs whole seconds"},
  };
  for (const auto& c : CASES) {
    const ParseResult parsed = ParseCommandLine(c.args);
    EXPECT_FALSE(parsed.ok) << c.error;
    EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error;
  }
}

}  // namespace
}  // namespace cli
