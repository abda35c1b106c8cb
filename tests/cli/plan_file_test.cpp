#include "cli/plan_file.h"

#include <gtest/gtest.h>

#include "tests/cli/cli_test_devices.h"

namespace cli {
namespace {

TEST(PlanFile, ReadsRowsWithOptionalCells) {
  const PlanFile plan = ReadPlanCsv(
      "\xEF\xBB\xBFMAC, ip ,Mode,http_port,gateway\r\n"
      "02:00:5E:C1:00:01,10.77.0.11,,,\r\n"
      "\r\n"
      "\"02-00-5e-c1-00-02\", 10.77.0.12 ,pppoe,8080,\"10.77.0.254\"\r\n",
      "site.csv");
  ASSERT_TRUE(plan.ok) << plan.error;
  ASSERT_EQ(plan.rows.size(), 2u);
  const PlanRow& first = plan.rows[0];
  EXPECT_EQ(first.line, 2);
  EXPECT_EQ(first.mac, MacOf(1));
  EXPECT_EQ(*first.edit.ip, Ip(10, 77, 0, 11));
  EXPECT_FALSE(first.edit.mode || first.edit.httpPort || first.edit.gateway ||
               first.edit.mask || first.edit.basePort);
  const PlanRow& second = plan.rows[1];
  EXPECT_EQ(second.line, 4);
  EXPECT_EQ(second.mac, MacOf(2));
  EXPECT_EQ(*second.edit.mode, IP_MODE_PPPOE);
  EXPECT_EQ(*second.edit.httpPort, 8080);
  EXPECT_EQ(*second.edit.gateway, Ip(10, 77, 0, 254));
}

TEST(PlanFile, ErrorsNameTheFileAndLine) {
  const struct {
    const char* text;
    const char* error;
  } CASES[] = {
      {"", "p.csv:1: no header row"},
      {"mac,ip\n", "p.csv:1: the plan has no rows"},
      {"mac,mask\n", "p.csv:1: the header needs the columns mac and ip"},
      {"mac,ip,port\n", "p.csv:1: unknown column 'port'"},
      {"mac,ip,IP\n", "p.csv:1: column 'ip' appears twice"},
      {"mac,ip\n02:00:5E:C1:00:01\n", "p.csv:2: 1 cells where the header"},
      {"mac,ip\n\n02:00:5E:C1:00:0G,10.0.0.1\n",
       "p.csv:3: bad MAC address '02:00:5E:C1:00:0G'"},
      {"mac,ip\n02:00:5E:C1:00:01,\n", "p.csv:2: the ip cell is blank"},
      {"mac,ip,mask\n02:00:5E:C1:00:01,10.0.0.1,255.255.255\n",
       "p.csv:2: bad mask '255.255.255'"},
      {"mac,ip,mode\n02:00:5E:C1:00:01,10.0.0.1,auto\n", "p.csv:2: bad mode"},
      {"mac,ip,base_port\n02:00:5E:C1:00:01,10.0.0.1,99999999999\n",
       "p.csv:2: bad base_port '99999999999'"},
      {"mac,ip\n02:00:5E:C1:00:01,10.0.0.1\n02-00-5E-C1-00-01,10.0.0.2\n",
       "p.csv:3: the MAC address is planned twice (first on line 2)"},
      {"mac,ip\n\"02:00:5E:C1:00:01,10.0.0.1\n", "p.csv:2: a quoted cell"},
      {"mac,ip\n\"02:00:5E:C1:00:01\"x,10.0.0.1\n",
       "p.csv:2: text after a closing quote"},
      {"mac,ip\n02:00:5E:C1:00:01,\"10.0.0.1\n\"\n02:00:5E:C1:00:0X,1.1.1.1\n",
       "p.csv:2: bad ip"},
  };
  for (const auto& c : CASES) {
    const PlanFile plan = ReadPlanCsv(c.text, "p.csv");
    EXPECT_FALSE(plan.ok) << c.text;
    EXPECT_TRUE(plan.rows.empty());
    EXPECT_EQ(plan.error.rfind(c.error, 0), 0u) << plan.error;
  }
}

}  // namespace
}  // namespace cli
