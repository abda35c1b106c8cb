#include "tests/faults/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

std::string TemporaryPath() {
  char path[] = "/tmp/quellan-fault-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return std::string();
  close(fd);
  return path;
}

bool Executable(const std::string& path) {
  return access(path.c_str(), X_OK) == 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv)
    : outputPath_(TemporaryPath()) {
  if (argv.empty() || outputPath_.empty()) return;
  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath_.c_str(),
                                   O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
    pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (!outputPath_.empty()) std::remove(outputPath_.c_str());
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
  if (pid_ <= 0) return -1;
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    if (done < 0 || std::chrono::steady_clock::now() > end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ChildProcess::Output() const {
  std::ifstream file(outputPath_);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

int RunCommand(const std::vector<std::string>& argv) {
  ChildProcess child(argv);
  return child.Wait(std::chrono::seconds(10));
}

std::vector<std::string> InPeerNamespace(std::vector<std::string> argv) {
  const char* peer = std::getenv("QUELLAN_PEER_NS");
  argv.insert(argv.begin(), {"ip", "netns", "exec", peer ? peer : ""});
  return argv;
}

std::string FloodProgram() {
  if (const char* devsim = std::getenv("QUELLAN_DEVSIM")) {
    std::string path(devsim);
    const std::size_t slash = path.rfind("/devsim/");
    if (slash != std::string::npos) {
      path = path.substr(0, slash) + "/flood/quellan-flood";
      if (Executable(path)) return path;
    }
  }
  return QUELLAN_FLOOD;
}
