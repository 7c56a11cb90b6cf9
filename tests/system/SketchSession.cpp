#include "SketchSession.h"

#include <X11/X.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "SketchLayout.h"
#include "TestEnvironment.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kWindowTimeout(8000);

std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// Later entries replace earlier ones of the same name.
void Put(std::vector<std::string>& environment, const std::string& entry) {
  std::erase_if(environment, [&](const std::string& e) { return NameOf(e) == NameOf(entry); });
  environment.push_back(entry);
}

}  // namespace

SketchSession::SketchSession(const SketchFolder& folder, const Options& options)
    : errorFile_(folder.ScratchPath("stderr.txt")),
      xvfb_(std::make_unique<XvfbServer>(options.dotsPerInch)),
      x_(std::make_unique<XClient>(xvfb_->DisplayName())),
      input_(std::make_unique<XInput>(x_->Connection())) {
  std::vector<std::string> environment = InheritedEnvironment();
  Put(environment, "DISPLAY=" + xvfb_->DisplayName());
  Put(environment, "SDL_AUDIODRIVER=dummy");
  for (const std::string& entry : options.environment) Put(environment, entry);
  ChildProcess::Options program;
  program.arguments = {SketchPath()};
  program.environment = environment;
  program.workingDirectory = folder.Root();
  program.outputFile = folder.ScratchPath("stdout.txt");
  program.errorFile = errorFile_;
  program.addressSpaceLimit = options.addressSpaceLimit;
  program_ = std::make_unique<ChildProcess>(program);
}

// The program goes before the X server it is connected to.
SketchSession::~SketchSession() { program_.reset(); }

std::string SketchSession::ErrorOutput() const {
  std::ifstream in(errorFile_);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SketchSession::IsMainWindow(const XClient::WindowInfo& window) {
  return window.className == "TForm1" && window.x == kWindowLeft && window.y == kWindowTop;
}

bool SketchSession::IsMessageBox(const XClient::WindowInfo& window) {
  return window.className == "TForm1" && !IsMainWindow(window);
}

std::optional<XClient::WindowInfo> SketchSession::FindWindow(bool (*matches)(const XClient::WindowInfo&)) {
  for (const XClient::WindowInfo& window : x_->TopLevelWindows()) {
    if (window.viewable && matches(window)) return window;
  }
  return std::nullopt;
}

std::optional<XClient::WindowInfo> SketchSession::MainWindow() { return FindWindow(IsMainWindow); }
std::optional<XClient::WindowInfo> SketchSession::MessageBox() { return FindWindow(IsMessageBox); }

std::optional<XClient::WindowInfo> SketchSession::WaitForMainWindow() {
  std::optional<XClient::WindowInfo> window;
  WaitUntil([&] { return (window = MainWindow()).has_value(); }, kWindowTimeout);
  return window;
}

std::optional<XClient::WindowInfo> SketchSession::WaitForMessageBox() {
  std::optional<XClient::WindowInfo> window;
  WaitUntil([&] { return (window = MessageBox()).has_value(); }, kWindowTimeout);
  return window;
}

RgbImage SketchSession::CaptureClient() { return CaptureClient(0, 0, kClientSize, kClientSize); }

RgbImage SketchSession::CaptureClient(int x, int y, int width, int height) {
  return x_->Capture(kWindowLeft + x, kWindowTop + y, width, height);
}

void SketchSession::MoveTo(int x, int y) { input_->MoveTo(kWindowLeft + x, kWindowTop + y); }

void SketchSession::ClickAt(int x, int y) {
  MoveTo(x, y);
  input_->Click(Button1);
}
