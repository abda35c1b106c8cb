// A fresh test target for every test, and the probe aimed at it alone.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/probe/probe_runner.h"
#include "tests/probe/target_ids.h"

class ProbeTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(target_.Started());
    ASSERT_EQ(Probe({L"wait-window"}).exitCode, 0);
  }

  // Waits generously: a slow machine must not fail a test.
  ProbeRun Probe(const std::vector<std::wstring>& args) {
    return RunProbeFor(L"20000", args);
  }
  // Looks once, for states that must already hold or must be absent.
  ProbeRun ProbeNow(const std::vector<std::wstring>& args) {
    return RunProbeFor(L"0", args);
  }
  // Whether the target reports `event` as the last thing that reached it.
  bool Reported(const std::wstring& event) {
    return Probe({L"wait-text", std::to_wstring(target::EVENT_TEXT_ID), event})
               .exitCode == 0;
  }

  TargetRun target_;

 private:
  ProbeRun RunProbeFor(const wchar_t* timeout,
                       const std::vector<std::wstring>& args) {
    std::vector<std::wstring> all = {
        L"--pid", std::to_wstring(target_.ProcessId()), L"--timeout", timeout};
    all.insert(all.end(), args.begin(), args.end());
    return RunProbe(all);
  }
};
