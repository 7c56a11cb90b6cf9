#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>

#include "TestEnvironment.h"

namespace {

constexpr int kStartTimeoutMs = 10000;

// The server writes its display number and a new line once it accepts clients.
std::string ReadDisplayNumber(int descriptor) {
  std::string number;
  for (;;) {
    pollfd ready{descriptor, POLLIN, 0};
    if (poll(&ready, 1, kStartTimeoutMs) <= 0) throw std::runtime_error("Xvfb did not start in time");
    char c = 0;
    if (read(descriptor, &c, 1) != 1) throw std::runtime_error("Xvfb ended before it was ready");
    if (c == '\n') break;
    number += c;
  }
  if (number.empty()) throw std::runtime_error("Xvfb gave no display number");
  return number;
}

}  // namespace

XvfbServer::XvfbServer(int dotsPerInch) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe for Xvfb failed");
  ChildProcess::Options options;
  options.arguments = {XvfbPath(), "-displayfd", std::to_string(pipeEnds[1]), "-screen", "0", "1024x768x24",
                       "-dpi", std::to_string(dotsPerInch), "-nolisten", "tcp", "-noreset"};
  options.environment = InheritedEnvironment();
  options.inheritedDescriptor = pipeEnds[1];
  try {
    server_ = std::make_unique<ChildProcess>(options);
  } catch (...) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    throw;
  }
  close(pipeEnds[1]);
  try {
    displayName_ = ":" + ReadDisplayNumber(pipeEnds[0]);
  } catch (...) {
    close(pipeEnds[0]);
    throw;
  }
  close(pipeEnds[0]);
}
