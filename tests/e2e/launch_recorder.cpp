// Stands in for the web browser in end-to-end runs: appends the command line
// it was started with to the file named by QUELLAN_LAUNCH_LOG and ends.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain() {
  wchar_t path[MAX_PATH] = L"";
  if (!GetEnvironmentVariableW(L"QUELLAN_LAUNCH_LOG", path, MAX_PATH)) return 2;
  FILE* log = _wfopen(path, L"a, ccs=UTF-8");
  if (!log) return 1;
  std::fwprintf(log, L"%ls\n", GetCommandLineW());
  std::fclose(log);
  return 0;
}
