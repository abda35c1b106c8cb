#include "tests/probe/probe_runner.h"

#include <cstdio>
#include <sstream>

#include "tools/probe/invocation.h"

namespace {

constexpr DWORD PROBE_RUN_LIMIT_MS = 120000;

std::wstring BesideUs(const wchar_t* fileName) {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory = path;
  directory.resize(directory.find_last_of(L"\\/") + 1);
  return directory + fileName;
}

// One argument quoted for CommandLineToArgvW and the C runtime's parser.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

std::wstring CommandLine(const std::wstring& program,
                         const std::vector<std::wstring>& args) {
  std::wstring line = Quoted(program);
  for (const std::wstring& arg : args) line += L" " + Quoted(arg);
  return line;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) lines.push_back(line);
  return lines;
}

enum class InheritHandles { NONE, STD_HANDLES };

// Under Wine a process start fails now and then on a loaded machine; that is
// not what a probe test asks, so a failed start is tried again.
BOOL StartProcess(std::wstring line, InheritHandles inherit,
                  STARTUPINFOW& startup, PROCESS_INFORMATION& process) {
  constexpr int ATTEMPTS = 3;
  for (int attempt = 1;; ++attempt) {
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr,
                       inherit == InheritHandles::STD_HANDLES, 0, nullptr,
                       nullptr, &startup, &process)) {
      return TRUE;
    }
    std::fprintf(stderr, "process start failed (error %lu)%s\n", GetLastError(),
                 attempt < ATTEMPTS ? ", trying again" : "");
    if (attempt == ATTEMPTS) return FALSE;
    Sleep(200);
  }
}

}  // namespace

namespace {

ProbeRun RunProbeOnce(const std::vector<std::wstring>& args) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {-1, {}};
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  const BOOL started =
      StartProcess(CommandLine(BesideUs(L"quellan-probe.exe"), args),
                   InheritHandles::STD_HANDLES, startup, process);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    return {-1, {}};
  }
  std::string output;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    output.append(buffer, read);
  }
  CloseHandle(readEnd);
  DWORD exitCode = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, PROBE_RUN_LIMIT_MS) ==
      WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return {static_cast<int>(exitCode), Lines(output)};
}

}  // namespace

ProbeRun RunProbe(const std::vector<std::wstring>& args) {
  // A probe whose process came up without the window system could not look;
  // another one can.
  constexpr int ATTEMPTS = 3;
  ProbeRun run = RunProbeOnce(args);
  for (int attempt = 1;
       attempt < ATTEMPTS && run.exitCode == probe::NO_WINDOW_SYSTEM;
       ++attempt) {
    std::fprintf(stderr,
                 "the probe could not reach the window system, "
                 "running it again\n");
    run = RunProbeOnce(args);
  }
  return run;
}

TargetRun::TargetRun() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (StartProcess(CommandLine(BesideUs(L"probe_target.exe"), {}),
                   InheritHandles::NONE, startup, process)) {
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    processId_ = process.dwProcessId;
  }
}

TargetRun::~TargetRun() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, INFINITE);
  }
  CloseHandle(process_);
}

int TargetRun::WaitForExit(DWORD timeoutMs) {
  DWORD exitCode = 0;
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process_, &exitCode)) {
    return -1;
  }
  return static_cast<int>(exitCode);
}
