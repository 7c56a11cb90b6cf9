#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace {

constexpr int kHighestDescriptorClosed = 1023;
constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr auto kGraceToStop = std::chrono::milliseconds(2000);

std::vector<char*> PointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void RedirectTo(const std::filesystem::path& file, int descriptor) {
  const char* name = file.empty() ? "/dev/null" : file.c_str();
  int opened = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (opened < 0) _exit(126);
  dup2(opened, descriptor);
  close(opened);
}

// Runs in the forked child only: nothing here may allocate or throw.
[[noreturn]] void BecomeProgram(const ChildProcess::Options& options, char* const* arguments,
                                char* const* environment) {
  if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(126);
  int devNull = open("/dev/null", O_RDONLY);
  if (devNull >= 0) {
    dup2(devNull, STDIN_FILENO);
    close(devNull);
  }
  RedirectTo(options.outputFile, STDOUT_FILENO);
  RedirectTo(options.errorFile, STDERR_FILENO);
  for (int descriptor = STDERR_FILENO + 1; descriptor <= kHighestDescriptorClosed; ++descriptor) {
    if (descriptor != options.inheritedDescriptor) close(descriptor);
  }
  if (options.inheritedDescriptor >= 0) fcntl(options.inheritedDescriptor, F_SETFD, 0);
  // The test runner may have blocked or ignored signals; the program starts clean.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  if (options.addressSpaceLimit != RLIM_INFINITY) {
    rlimit limit{options.addressSpaceLimit, options.addressSpaceLimit};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(126);
  }
  execve(arguments[0], arguments, environment);
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const Options& options) {
  if (options.arguments.empty()) throw std::invalid_argument("no program to start");
  std::vector<std::string> arguments = options.arguments;
  std::vector<std::string> environment = options.environment;
  std::vector<char*> argumentPointers = PointersTo(arguments);
  std::vector<char*> environmentPointers = PointersTo(environment);
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
  if (pid_ == 0) BecomeProgram(options, argumentPointers.data(), environmentPointers.data());
}

// Asked to stop first, so that an X server removes its lock and socket.
ChildProcess::~ChildProcess() {
  Signal(SIGTERM);
  if (WaitForExit(kGraceToStop)) return;
  kill(pid_, SIGKILL);
  Reap(0);
}

bool ChildProcess::Reap(int flags) {
  int status = 0;
  pid_t result;
  do {
    result = waitpid(pid_, &status, flags);
  } while (result < 0 && errno == EINTR);
  if (result != pid_) return false;
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return true;
}

bool ChildProcess::Running() { return !exitCode_ && !Reap(WNOHANG); }

void ChildProcess::Signal(int signalNumber) {
  if (Running()) kill(pid_, signalNumber);
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (Running()) {
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(kPollInterval);
  }
  return exitCode_;
}
