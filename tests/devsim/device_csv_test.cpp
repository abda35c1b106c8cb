#include "tools/devsim/device_csv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "tools/devsim/text_form.h"

namespace devsim {
namespace {

const char HEADER[] =
    "mac,ip_mode,ip,gateway,mask,base_port,http_port,model,firmware\n";
const char GOOD_ROW[] =
    "00:11:22:33:44:55,0,10.77.0.10,10.77.0.1,255.255.255.0,8000,80,QC-1,V1\n";

TEST(DeviceCsv, ReadsTheRequiredColumns) {
  const CsvResult read = ReadDeviceCsv(
      std::string(HEADER) +
          "AA-BB-CC-DD-EE-FF , 2 ,192.168.1.10,192.168.1.1,255.255.0.0,-1,"
          "65535, Model X ,\n",
      "d.csv", 1);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.devices.size(), 1u);
  const SimDevice& device = read.devices[0];
  EXPECT_EQ(MacString(device.info.macAddress), "AA:BB:CC:DD:EE:FF");
  EXPECT_EQ(device.info.ipMode, 2);
  EXPECT_EQ(device.info.ipAddress, 0xC0A8010Au);
  EXPECT_EQ(device.info.gateway, 0xC0A80101u);
  EXPECT_EQ(device.info.subnetMask, 0xFFFF0000u);
  EXPECT_EQ(device.info.basePort, -1);
  EXPECT_EQ(device.info.httpPort, 65535);
  EXPECT_EQ(DeviceTextString(device.info.modelName), "Model X");
  EXPECT_EQ(DeviceTextString(device.info.firmware), "");
  EXPECT_EQ(device.bodyLength, 72);
  EXPECT_EQ(device.repeat, 1);
  EXPECT_EQ(device.replySize, 96u);
  EXPECT_EQ(HexOf(device.info.reserved1.data(), 2), "0000");
  EXPECT_EQ(HexOf(device.info.reserved2.data(), 8), "0000000000000000");
}

TEST(DeviceCsv, HeaderMayComeInAnyOrderAndCaseAfterCommentsAndBlanks) {
  const CsvResult read = ReadDeviceCsv(
      "\xEF\xBB\xBF# devices\r\n\r\n   \r\n"
      "FIRMWARE,Model,HTTP_PORT,base_port,mask,gateway,ip,ip_mode,mac,"
      "Reply_Size,repeat,body_length,reserved2,reserved1\r\n"
      "# a comment between rows\r\n"
      "V9,M,81,9000,255.0.0.0,10.0.0.1,10.0.0.2,3,01:02:03:04:05:06,64,2,40,"
      "0102030405060708,a55a\r\n",
      "d.csv", 1);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.devices.size(), 1u);
  const SimDevice& device = read.devices[0];
  EXPECT_EQ(DeviceTextString(device.info.firmware), "V9");
  EXPECT_EQ(device.info.httpPort, 81);
  EXPECT_EQ(device.info.ipMode, 3);
  EXPECT_EQ(device.bodyLength, 40);
  EXPECT_EQ(device.repeat, 2);
  EXPECT_EQ(device.replySize, 64u);
  EXPECT_EQ(HexOf(device.info.reserved1.data(), 2), "a55a");
  EXPECT_EQ(HexOf(device.info.reserved2.data(), 8), "0102030405060708");
}

TEST(DeviceCsv, EmptyRepeatTakesTheDefaultAndDuplicateMacsAreKept) {
  // The same MAC in two of its written forms.
  const CsvResult read = ReadDeviceCsv(
      "mac,ip_mode,ip,gateway,mask,base_port,http_port,model,firmware,repeat\n"
      "00:11:22:33:44:55,0,10.77.0.10,10.77.0.1,255.255.255.0,1,2,a,b,\n"
      "0011.2233.4455,1,127.0.0.1,0.0.0.0,255.0.0.0,3,4,c,d,0\n",
      "d.csv", 3);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.devices.size(), 2u);
  EXPECT_EQ(read.devices[0].repeat, 3);
  EXPECT_EQ(read.devices[1].repeat, 0);
  EXPECT_EQ(read.devices[1].info.ipAddress, LOOPBACK_ADDRESS);
  EXPECT_EQ(read.devices[0].info.macAddress, read.devices[1].info.macAddress);
}

TEST(DeviceCsv, SixteenCharacterTextsFillTheAreaWithoutATerminator) {
  const CsvResult read =
      ReadDeviceCsv(std::string(HEADER) +
                        "00:11:22:33:44:55,0,10.77.0.10,10.77.0.1,"
                        "255.255.255.0,1,2,ABCDEFGHIJKLMNOP,0123456789abcdef\n",
                    "d.csv", 1);
  ASSERT_TRUE(read.ok) << read.error;
  const DeviceInfo& info = read.devices[0].info;
  EXPECT_EQ(DeviceTextString(info.modelName), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(DeviceTextString(info.firmware), "0123456789abcdef");
  EXPECT_EQ(info.modelName[15], 'P');
  EXPECT_EQ(info.firmware[15], 'f');
}

struct BadFile {
  const char* name;
  std::string text;
  int line;
  const char* message;
};

std::string Row(const std::string& replaceFrom, const std::string& with) {
  std::string row = GOOD_ROW;
  row.replace(row.find(replaceFrom), replaceFrom.size(), with);
  return row;
}

TEST(DeviceCsv, BadLinesNameTheFileTheLineAndTheProblem) {
  const std::string header = HEADER;
  const std::string good = GOOD_ROW;
  const BadFile CASES[] = {
      {"no header", "", 0, "d.csv: no header row"},
      {"only comments", "# x\n\n", 0, "d.csv: no header row"},
      {"unknown column", "mac,ip,colour\n", 1,
       "d.csv:1: unknown column 'colour'"},
      {"twice", "mac,MAC\n", 1, "d.csv:1: column 'mac' appears twice"},
      {"missing column",
       "mac,ip_mode,ip,gateway,mask,base_port,http_port,model\n", 1,
       "d.csv:1: the header row lacks the column 'firmware'"},
      {"bad mac", header + good + Row("00:11:22:33:44:55", "zz:11:22:33:44:55"),
       3, "d.csv:3: bad MAC address 'zz:11:22:33:44:55'"},
      {"short mac", "#c\n" + header + Row("00:11:22:33:44:55", "00:11:22"), 3,
       "d.csv:3: bad MAC address '00:11:22'"},
      {"empty mac", header + Row("00:11:22:33:44:55", ""), 2,
       "d.csv:2: bad MAC address ''"},
      {"bad mode", header + Row(",0,", ",x,"), 2, "d.csv:2: bad ip_mode 'x'"},
      {"mode overflow", header + Row(",0,", ",4294967296,"), 2,
       "d.csv:2: bad ip_mode '4294967296'"},
      {"bad ip", header + Row("10.77.0.10", "10.77.0.256"), 2,
       "d.csv:2: bad IP address '10.77.0.256'"},
      {"short ip", header + Row("10.77.0.10", "10.77.0"), 2,
       "d.csv:2: bad IP address '10.77.0'"},
      {"bad gateway", header + Row("10.77.0.1,", "gw,"), 2,
       "d.csv:2: bad gateway 'gw'"},
      {"bad mask", header + Row("255.255.255.0", "255.255.255"), 2,
       "d.csv:2: bad subnet mask '255.255.255'"},
      {"bad base port", header + Row("8000", "80a"), 2,
       "d.csv:2: bad base_port '80a'"},
      {"bad http port", header + Row(",80,", ",,"), 2,
       "d.csv:2: bad http_port ''"},
      {"long model", header + Row("QC-1", "ABCDEFGHIJKLMNOPQ"), 2,
       "d.csv:2: model 'ABCDEFGHIJKLMNOPQ' is longer than 16 characters"},
      {"long firmware", header + Row("V1\n", "0123456789abcdefg\n"), 2,
       "d.csv:2: firmware '0123456789abcdefg' is longer than 16 characters"},
      {"quoted", header + Row("QC-1", "\"QC-1\""), 2,
       "d.csv:2: model '\"QC-1\"' holds a quote"},
      {"non ascii", header + Row("QC-1", "Cam\xC3\xA9"), 2,
       "d.csv:2: model 'Cam\xC3\xA9' holds a character outside printable"},
      {"too few fields", header + "00:11:22:33:44:55,0,10.77.0.10\n", 2,
       "d.csv:2: 3 fields, but the header row has 9"},
      {"too many fields", header + good + good + Row("V1\n", "V1,extra\n"), 4,
       "d.csv:4: 10 fields, but the header row has 9"},
      {"crlf line count", header + "\r\n" + good + "\r\n" + "x\r\n", 5,
       "d.csv:5: 1 fields"},
  };
  for (const BadFile& c : CASES) {
    const CsvResult read = ReadDeviceCsv(c.text, "d.csv", 1);
    EXPECT_FALSE(read.ok) << c.name;
    EXPECT_EQ(read.line, c.line) << c.name;
    EXPECT_EQ(read.error.rfind(c.message, 0), 0u)
        << c.name << ": " << read.error;
  }
}

TEST(DeviceCsv, BadOptionalCellsAreNamed) {
  const std::string header =
      "mac,ip_mode,ip,gateway,mask,base_port,http_port,model,firmware,"
      "body_length,repeat,reply_size,reserved1,reserved2\n";
  const std::string prefix =
      "00:11:22:33:44:55,0,10.77.0.10,10.77.0.1,255.255.255.0,1,2,m,f,";
  const struct {
    const char* tail;
    const char* message;
  } CASES[] = {
      {"x,,,,", "d.csv:2: bad body_length 'x'"},
      {",17,,,", "d.csv:2: bad repeat '17' (expected 0 to 16)"},
      {",-1,,,", "d.csv:2: bad repeat '-1'"},
      {",,1473,,", "d.csv:2: bad reply_size '1473' (expected 0 to 1472)"},
      {",,,a5,", "d.csv:2: bad reserved1 'a5' (expected 4 hex digits)"},
      {",,,,01020304050607", "d.csv:2: bad reserved2 '01020304050607'"},
      {",,,zz00,", "d.csv:2: bad reserved1 'zz00'"},
  };
  for (const auto& c : CASES) {
    const CsvResult read = ReadDeviceCsv(header + prefix + c.tail, "d.csv", 1);
    EXPECT_FALSE(read.ok) << c.tail;
    EXPECT_EQ(read.error.rfind(c.message, 0), 0u) << read.error;
  }
}

TEST(DeviceCsv, WrittenDevicesReadBackUnchanged) {
  std::vector<SimDevice> devices(2);
  devices[0].info.macAddress = {0xAA, 1, 2, 3, 4, 5};
  devices[0].info.reserved1 = {0xA5, 0x5A};
  devices[0].info.reserved2 = {1, 2, 3, 4, 5, 6, 7, 8};
  devices[0].info.ipMode = -7;
  devices[0].info.ipAddress = LOOPBACK_ADDRESS;
  devices[0].info.gateway = 0xFFFFFFFFu;
  devices[0].info.subnetMask = 0xFFFFFF00u;
  devices[0].info.basePort = INT32_MIN;
  devices[0].info.httpPort = INT32_MAX;
  MakeDeviceText("ABCDEFGHIJKLMNOP", &devices[0].info.modelName);
  MakeDeviceText("fw 1.0 #2", &devices[0].info.firmware);
  devices[0].bodyLength = 40;
  devices[0].repeat = 0;
  devices[0].replySize = 1472;
  devices[1] = devices[0];
  devices[1].bodyLength = -1;
  devices[1].repeat = 16;
  devices[1].replySize = 0;
  const CsvResult read = ReadDeviceCsv(WriteDeviceCsv(devices), "w.csv", 1);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.devices.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(read.devices[i].info == devices[i].info) << i;
    EXPECT_EQ(read.devices[i].bodyLength, devices[i].bodyLength) << i;
    EXPECT_EQ(read.devices[i].repeat, devices[i].repeat) << i;
    EXPECT_EQ(read.devices[i].replySize, devices[i].replySize) << i;
  }
}

const char ONVIF_HEADER[] =
    "mac,ip_mode,ip,gateway,mask,base_port,http_port,model,firmware,"
    "protocols,name,hardware,location,endpoint,mac_scope,link_local\n";
const char ONVIF_PREFIX[] =
    "00:1A:2B:3C:00:51,0,10.77.0.51,10.77.0.1,255.255.255.0,0,80,IPC-B520,,";

TEST(DeviceCsv, OnvifColumnsTakeTheirDefaultsAndWriteBackUnchanged) {
  const CsvResult read = ReadDeviceCsv(
      std::string(ONVIF_HEADER) + ONVIF_PREFIX + "onvif,,,,,,\n" +
          ONVIF_PREFIX +
          "QUELLAN+ONVIF,Front Door,IPC B,site/Süd,urn:uuid:1,Bare,"
          "169.254.12.7\n" +
          ONVIF_PREFIX + ",ignored,,,,,\n",
      "d.csv", 1);
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.devices.size(), 3u);
  const OnvifIdentity& plain = read.devices[0].onvif;
  EXPECT_EQ(read.devices[0].protocols, Protocols::Onvif);
  EXPECT_EQ(plain.name, "IPC-B520");
  EXPECT_EQ(plain.hardware, "IPC-B520");
  EXPECT_EQ(plain.endpoint, "urn:uuid:51c0da7a-0000-4000-8000-001a2b3c0051");
  EXPECT_EQ(plain.macScope, MacScope::None);
  const OnvifIdentity& full = read.devices[1].onvif;
  EXPECT_EQ(read.devices[1].protocols, Protocols::QuellanAndOnvif);
  EXPECT_EQ(full.location, "site/Süd");
  EXPECT_EQ(full.endpoint, "urn:uuid:1");
  EXPECT_EQ(full.macScope, MacScope::Bare);
  EXPECT_EQ(full.linkLocal, 0xA9FE0C07u);
  EXPECT_EQ(read.devices[2].protocols, Protocols::Quellan);

  const CsvResult again = ReadDeviceCsv(WriteDeviceCsv(read.devices), "w", 1);
  ASSERT_TRUE(again.ok) << again.error;
  EXPECT_EQ(WriteDeviceCsv(again.devices), WriteDeviceCsv(read.devices));
  // Without an ONVIF device the columns of old stay the only ones.
  const std::string ours = WriteDeviceCsv({read.devices[2]});
  EXPECT_EQ(ours.substr(0, ours.find('\n')),
            "mac,ip_mode,ip,gateway,mask,base_port,http_port,model,firmware,"
            "body_length,repeat,reply_size,reserved1,reserved2");
}

TEST(DeviceCsv, BadOnvifCellsAreNamed) {
  const struct {
    const char* tail;
    const char* message;
  } CASES[] = {
      {"camera,,,,,,", "d.csv:2: bad protocols 'camera'"},
      {"onvif,a\tb,,,,,", "d.csv:2: name 'a\tb' is longer than 64 bytes or"},
      {"onvif,,,,urn:uuid:a b,,", "d.csv:2: bad endpoint 'urn:uuid:a b'"},
      {"onvif,,,,,dots,", "d.csv:2: bad mac_scope 'dots'"},
      {"onvif,,,,,,10.0.0.1", "d.csv:2: bad link_local '10.0.0.1'"},
  };
  for (const auto& c : CASES) {
    const CsvResult read = ReadDeviceCsv(
        std::string(ONVIF_HEADER) + ONVIF_PREFIX + c.tail, "d.csv", 1);
    EXPECT_FALSE(read.ok) << c.tail;
    EXPECT_EQ(read.error.rfind(c.message, 0), 0u) << read.error;
  }
  const CsvResult nameless = ReadDeviceCsv(
      std::string(ONVIF_HEADER) +
          "00:1A:2B:3C:00:51,0,10.77.0.51,10.77.0.1,255.255.255.0,0,80,,,"
          "onvif,,,,,,",
      "d.csv", 1);
  EXPECT_EQ(nameless.error,
            "d.csv:2: an onvif device needs a name and hardware (or a "
            "model)");
}

TEST(DeviceCsv, ExampleFileHoldsTheEdgeCasesItPromises) {
  std::ifstream file(DEVSIM_EXAMPLE_CSV, std::ios::binary);
  ASSERT_TRUE(file) << DEVSIM_EXAMPLE_CSV;
  std::ostringstream text;
  text << file.rdbuf();
  const CsvResult read = ReadDeviceCsv(text.str(), "example-devices.csv", 1);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_GE(read.devices.size(), 20u);
  std::set<std::string> macs;
  std::set<std::uint32_t> addresses;
  std::set<std::int32_t> modes;
  bool duplicateMac = false, collision = false, loopback = false;
  bool shortBody = false, fullText = false, noBasePort = false;
  for (const SimDevice& device : read.devices) {
    const DeviceInfo& info = device.info;
    duplicateMac |= !macs.insert(MacString(info.macAddress)).second;
    collision |= !addresses.insert(info.ipAddress).second;
    loopback |= info.ipAddress == LOOPBACK_ADDRESS;
    shortBody |= device.bodyLength == 40;
    fullText |= DeviceTextString(info.modelName).size() == 16;
    noBasePort |= info.basePort == -1;
    modes.insert(info.ipMode);
    const std::uint32_t network = info.ipAddress & 0xFFFFFF00u;
    EXPECT_TRUE(network == 0x0A4D0000u || info.ipAddress == LOOPBACK_ADDRESS)
        << DottedText(info.ipAddress);
  }
  EXPECT_TRUE(duplicateMac);
  EXPECT_TRUE(collision);
  EXPECT_TRUE(loopback);
  EXPECT_TRUE(shortBody);
  EXPECT_TRUE(fullText);
  EXPECT_TRUE(noBasePort);
  EXPECT_EQ(modes, (std::set<std::int32_t>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace devsim
