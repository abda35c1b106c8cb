#include "tools/devsim/options.h"

#include <gtest/gtest.h>

namespace devsim {
namespace {

OptionsResult Parse(std::vector<std::string> args) {
  return ParseOptions(args);
}

TEST(Options, DefaultsWithADeviceFile) {
  const OptionsResult parsed = Parse({"--devices", "d.csv"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const Options& o = parsed.options;
  EXPECT_EQ(o.devicesPath, "d.csv");
  EXPECT_EQ(o.count, 0);
  EXPECT_EQ(o.delayMinMs, 0);
  EXPECT_EQ(o.delayMaxMs, 300);
  EXPECT_EQ(o.rate, DEFAULT_RATE);
  EXPECT_EQ(o.burst, DEFAULT_BURST);
  EXPECT_FALSE(o.haveRandomStart);
  EXPECT_EQ(o.noise, 0);
  EXPECT_EQ(o.repeat, 1);
  EXPECT_FALSE(o.logDatagrams);
  EXPECT_FALSE(o.printDevices);
  EXPECT_EQ(o.durationMs, 0);
}

TEST(Options, EveryOptionInBothSpellings) {
  const OptionsResult parsed =
      Parse({"--count=5000", "--subnet", "10.77.0.0/19", "--delay=10:20",
             "--rate", "2000", "--burst=4", "--random-start",
             "18446744073709551615", "--noise=6", "--repeat", "2",
             "--log-datagrams", "--duration=2.5", "--print-devices"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const Options& o = parsed.options;
  EXPECT_EQ(o.count, 5000);
  EXPECT_EQ(o.subnet.network, 0x0A4D0000u);
  EXPECT_EQ(o.subnet.prefix, 19);
  EXPECT_EQ(o.delayMinMs, 10);
  EXPECT_EQ(o.delayMaxMs, 20);
  EXPECT_EQ(o.rate, 2000);
  EXPECT_EQ(o.burst, 4);
  EXPECT_TRUE(o.haveRandomStart);
  EXPECT_EQ(o.randomStart, 18446744073709551615ull);
  EXPECT_EQ(o.noise, 6);
  EXPECT_EQ(o.repeat, 2);
  EXPECT_TRUE(o.logDatagrams);
  EXPECT_EQ(o.durationMs, 2500);
  EXPECT_TRUE(o.printDevices);
}

TEST(Options, SmallerForms) {
  struct Case {
    std::vector<std::string> args;
    int delayMin, delayMax;
    std::int64_t durationMs;
  };
  const Case CASES[] = {
      {{"--count", "1", "--delay", "50"}, 50, 50, 0},
      {{"--count", "1", "--delay", "0:0", "--duration", "3"}, 0, 0, 3000},
      {{"--count", "1", "--duration", "0.001"}, 0, 300, 1},
      {{"--count", "1", "--duration", "1.25"}, 0, 300, 1250},
  };
  for (const Case& c : CASES) {
    const OptionsResult parsed = ParseOptions(c.args);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.delayMinMs, c.delayMin);
    EXPECT_EQ(parsed.options.delayMaxMs, c.delayMax);
    EXPECT_EQ(parsed.options.durationMs, c.durationMs);
  }
}

TEST(Options, IgnoredChangesListMacsInEitherSpelling) {
  const OptionsResult parsed = Parse({"--count", "2", "--ignore-changes",
                                      "02:51:4c:10:00:0a,02-51-4C-10-00-0B"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  using Mac = std::array<std::uint8_t, 6>;
  EXPECT_EQ(parsed.options.ignoreChanges,
            (std::vector<Mac>{{0x02, 0x51, 0x4C, 0x10, 0x00, 0x0A},
                              {0x02, 0x51, 0x4C, 0x10, 0x00, 0x0B}}));
  EXPECT_TRUE(Parse({"--count", "2"}).options.ignoreChanges.empty());
}

TEST(Options, OneInterfaceAndASourceAddress) {
  const OptionsResult parsed = Parse(
      {"--count", "1", "--interface=eth0.100", "--source", "192.168.1.64"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.interfaceName, "eth0.100");
  EXPECT_EQ(parsed.options.sourceAddress, 0xC0A80140u);
  const Options plain = Parse({"--count", "1"}).options;
  EXPECT_EQ(plain.interfaceName, "");
  EXPECT_EQ(plain.sourceAddress, 0u);
}

TEST(Options, HelpWinsOverEverythingBeforeIt) {
  EXPECT_TRUE(Parse({"-h"}).options.help);
  EXPECT_TRUE(Parse({"--count", "3", "--help"}).options.help);
  EXPECT_TRUE(Parse({"--help"}).ok);
}

TEST(Options, ErrorsSayWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } CASES[] = {
      {{}, "give either --devices FILE or --count N"},
      {{"--devices", "a.csv", "--count", "3"},
       "give either --devices FILE or --count N"},
      {{"--devices"}, "--devices needs a value"},
      {{"--devices="}, "--devices needs a file name"},
      {{"--count", "0"},
       "--count needs a whole number from 1 to 100000, not '0'"},
      {{"--count", "100001"}, "--count needs a whole number from 1 to 100000"},
      {{"--count", "ten"}, "--count needs a whole number"},
      {{"--devices", "a", "--subnet", "10.0.0.0/8"},
       "--subnet only applies with --count"},
      {{"--count", "1", "--subnet", "10.0.0.1/8"},
       "subnet '10.0.0.1/8' has host bits set"},
      {{"--count", "1", "--delay", "300:200"}, "--delay needs MIN:MAX"},
      {{"--count", "1", "--delay", "1:"}, "--delay needs MIN:MAX"},
      {{"--count", "1", "--delay", "-1:5"}, "--delay needs MIN:MAX"},
      {{"--count", "1", "--delay", "0:60001"}, "--delay needs MIN:MAX"},
      {{"--count", "1", "--rate", "0"}, "--rate needs a whole number from 1"},
      {{"--count", "1", "--burst", "0"}, "--burst needs a whole number from 1"},
      {{"--count", "1", "--random-start", "-1"},
       "--random-start needs a whole number"},
      {{"--count", "1", "--random-start", "18446744073709551616"},
       "--random-start needs a whole number"},
      {{"--count", "1", "--noise", "1001"}, "--noise needs a whole number"},
      {{"--count", "1", "--repeat", "17"}, "--repeat needs a whole number"},
      {{"--count", "1", "--duration", "0"}, "--duration needs seconds above 0"},
      {{"--count", "1", "--duration", "1.2345"}, "--duration needs seconds"},
      {{"--count", "1", "--duration", "1."}, "--duration needs seconds"},
      {{"--count", "1", "--duration", "-2"}, "--duration needs seconds"},
      {{"--count", "1", "--duration", "x"}, "--duration needs seconds"},
      {{"--count", "1", "--loud"}, "unknown option '--loud'"},
      {{"--count", "1", "-v"}, "unknown option '-v'"},
      {{"--count", "1", "devices.csv"}, "unexpected argument 'devices.csv'"},
      {{"--count", "1", "--log-datagrams=yes"},
       "--log-datagrams takes no value"},
      {{"--count", "1", "--ignore-changes", "02:51:4C:10:00:0A,"},
       "--ignore-changes needs MAC addresses"},
      {{"--count", "1", "--ignore-changes", "02:51:4C:10:00"},
       "--ignore-changes needs MAC addresses"},
      {{"--count", "1", "--interface="}, "--interface needs an interface name"},
      {{"--count", "1", "--interface", "a-name-of-16-chr"},
       "--interface needs an interface name of 1 to 15 characters"},
      {{"--count", "1", "--source", "192.168.1"}, "--source needs an address"},
      {{"--count", "1", "--source", "0.0.0.0"}, "--source needs an address"},
      {{"--count", "1", "--source", "255.255.255.255"},
       "--source needs an address of this host, not '255.255.255.255'"},
  };
  for (const auto& c : CASES) {
    const OptionsResult parsed = ParseOptions(c.args);
    EXPECT_FALSE(parsed.ok) << c.error;
    EXPECT_EQ(parsed.error.rfind(c.error, 0), 0u) << parsed.error;
  }
}

TEST(Options, UsageNamesEveryOptionAndColumn) {
  const std::string usage = UsageText();
  const char* const NAMES[] = {
      "--devices",   "--count",          "--subnet",    "--repeat",
      "--delay",     "--rate",           "--burst",     "--random-start",
      "--noise",     "--log-datagrams",  "--duration",  "--print-devices",
      "--help",      "--ignore-changes", "--interface", "--source",
      "mac",         "ip_mode",          "gateway",     "mask",
      "base_port",   "http_port",        "model",       "firmware",
      "body_length", "reply_size",       "reserved1",   "reserved2",
  };
  for (const char* name : NAMES) {
    EXPECT_NE(usage.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace devsim
