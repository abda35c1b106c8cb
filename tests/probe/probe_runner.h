// Runs the probe and its test target as separate processes, as the scripts
// do: the probe sees the target only from outside.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ProbeRun {
  int exitCode;
  std::vector<std::string> lines;  // stdout, one entry per line
};

// Runs quellan-probe.exe, which lies beside the test program, with `args`.
ProbeRun RunProbe(const std::vector<std::wstring>& args);

// The test target, started on construction and ended on destruction if it
// is still running.
class TargetRun {
 public:
  TargetRun();
  ~TargetRun();
  TargetRun(const TargetRun&) = delete;
  TargetRun& operator=(const TargetRun&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD ProcessId() const { return processId_; }
  // The exit code once the target has ended within `timeoutMs`, else -1.
  int WaitForExit(DWORD timeoutMs);

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};
