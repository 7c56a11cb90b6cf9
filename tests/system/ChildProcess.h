#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A program started for one test. It is killed and reaped when the object
// goes, so a failing test never leaves it behind.
class ChildProcess {
 public:
  struct Options {
    std::vector<std::string> arguments;  // the program first
    std::vector<std::string> environment;  // "NAME=value", the whole of it
    std::filesystem::path workingDirectory;  // empty: the test's own
    std::filesystem::path outputFile;  // standard output; empty: /dev/null
    std::filesystem::path errorFile;  // standard error; empty: /dev/null
    int inheritedDescriptor = -1;  // one more descriptor the child keeps open
    rlim_t addressSpaceLimit = RLIM_INFINITY;  // bytes of virtual memory it may map
  };

  explicit ChildProcess(const Options& options);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running();
  void Signal(int signalNumber);
  // The exit code, or 128 + the signal that ended it, as a shell reports it;
  // nothing if it still runs when the time is up.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);

 private:
  bool Reap(int flags);

  pid_t pid_ = -1;
  std::optional<int> exitCode_;
};
