// Other programs that a fault test starts: the flood sender on the peer side
// and the `ip` commands that break and mend the app side's links. Each runs
// with its output in a file and is waited for with a bound, so a program
// that hangs fails the test instead of hanging it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

class ChildProcess {
 public:
  // Starts `argv` (argv[0] looked up in PATH) with standard output and error
  // in a file of its own.
  explicit ChildProcess(const std::vector<std::string>& argv);
  // Kills the child if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // Waits at most `limit` for the child to end; its exit status, or -1 when
  // it did not end in time (it is then killed) or did not exit normally.
  int Wait(std::chrono::milliseconds limit);
  std::string Output() const;

 private:
  pid_t pid_ = -1;
  std::string outputPath_;
};

// Runs `argv` to its end (at most 10 s) and returns its exit status.
int RunCommand(const std::vector<std::string>& argv);

// `argv` as run inside the peer namespace of the test network.
std::vector<std::string> InPeerNamespace(std::vector<std::string> argv);

// The flood sender: the native build's, beside the simulator, when there is
// one (a sanitized sender would only flood more slowly), else this build's.
std::string FloodProgram();
