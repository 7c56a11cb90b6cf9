// How the program reports what goes wrong: the modal box for a picture that
// cannot be loaded (before the window) or decoded (over it, once), silence for
// a missing chime, and exit code 1 with a report when there is no display.

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "ChildProcess.h"
#include "FrozenClock.h"
#include "ImageChecks.h"
#include "SketchFolder.h"
#include "SketchLayout.h"
#include "SketchSession.h"
#include "TestEnvironment.h"
#include "TestPattern.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kSettle(400);
constexpr milliseconds kTextTimeout(3000);
constexpr milliseconds kExitTimeout(5000);

// The start of a PNG file: a picture, but not a JPEG.
constexpr char kPng[] =
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x01\x00\x00\x00\x01\x08\x02\x00\x00\x00\x90wS\xde"
    "\x00\x00\x00\x0cIDAT\x08\xd7\x63\xf8\xcf\xc0\x00\x00\x03\x01\x01\x00\x18\xdd\x8d\xb0"
    "\x00\x00\x00\x00IEND\xae\x42\x60\x82";
const std::string kPngBytes(kPng, sizeof kPng - 1);

std::string Describe(const std::vector<XClient::WindowChange>& history) {
  std::ostringstream text;
  text << "windows mapped and unmapped:";
  for (const XClient::WindowChange& change : history) {
    const XClient::WindowInfo& w = change.window;
    text << "\n  " << (change.change == XClient::Change::Mapped ? "mapped " : "unmapped ") << std::hex << w.id
         << std::dec << " class \"" << w.className << "\" name \"" << w.name << "\" " << w.width << "x" << w.height
         << "+" << w.x << "+" << w.y;
  }
  return text.str();
}

int CountMapped(const std::vector<XClient::WindowChange>& history, bool (*kind)(const XClient::WindowInfo&)) {
  int count = 0;
  for (const XClient::WindowChange& change : history) {
    if (change.change == XClient::Change::Mapped && kind(change.window)) ++count;
  }
  return count;
}

// Whether the main window and a message box were ever up at the same time.
bool BothUpAtOnce(const std::vector<XClient::WindowChange>& history) {
  int mainUp = 0;
  int boxesUp = 0;
  for (const XClient::WindowChange& change : history) {
    int step = change.change == XClient::Change::Mapped ? 1 : -1;
    if (SketchSession::IsMainWindow(change.window)) mainUp += step;
    if (SketchSession::IsMessageBox(change.window)) boxesUp += step;
    if (mainUp > 0 && boxesUp > 0) return true;
  }
  return false;
}

bool TalkLabelShowsText(SketchSession& sketch) {
  return !Differences(sketch.CaptureClient(), ClientWithPicture(RgbImage()), kTalkFirstLine, {}, 60).empty();
}

bool Shows(const RgbImage& shown, Area area, bool (*colour)(Rgb)) {
  for (int y = area.y; y < area.y + area.height; ++y) {
    for (int x = area.x; x < area.x + area.width; ++x) {
      if (colour(shown.At(x, y))) return true;
    }
  }
  return false;
}

// Black all over but for the labels, with the blue title and the white stars.
bool PaintedWithoutPicture(SketchSession& sketch) {
  RgbImage shown = sketch.CaptureClient();
  return Differences(shown, ClientWithPicture(RgbImage()), {0, 0, kClientSize, kClientSize}, kLabelAreas).empty() &&
         Shows(shown, kTitleArea, [](Rgb c) { return c.b >= 200 && c.r <= 50 && c.g <= 50; }) &&
         Shows(shown, kStarsArea, [](Rgb c) { return c.r >= 200 && c.g >= 200 && c.b >= 200; }) &&
         !Shows(shown, {0, 0, kClientSize, kClientSize}, [](Rgb c) { return c == XClient::kCoverColour; });
}

struct StartupErrorCase {
  std::string name;
  bool writePicture;
  std::string pictureBytes;
  KeySym dismissKey;
};

void PrintTo(const StartupErrorCase& c, std::ostream* out) { *out << c.name; }

// Each case dismisses the box with another of the keys that close it.
const StartupErrorCase kStartupErrors[] = {
    {"MissingPicture", false, "", XK_Return},
    {"NotAJpeg", true, kPngBytes, XK_space},
};

class StartupErrorTest : public testing::TestWithParam<StartupErrorCase> {};

TEST_P(StartupErrorTest, BoxComesBeforeTheWindowThenTheWindowOpensEmptyAndWorks) {
  SketchFolder folder;
  if (GetParam().writePicture) folder.WritePictureBytes(GetParam().pictureBytes);
  SketchSession sketch(folder);

  std::optional<XClient::WindowInfo> box = sketch.WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(box->name, "sketch") << "the box is captioned with the application title";
  Pause(kSettle);
  EXPECT_FALSE(sketch.MainWindow()) << "the window is up while the start-up error is shown";

  sketch.Input().TypeKey(box->id, GetParam().dismissKey);
  ASSERT_TRUE(sketch.WaitForMainWindow()) << "the window did not open after the box";
  EXPECT_FALSE(sketch.MessageBox());
  const std::vector<XClient::WindowChange>& history = sketch.X().ChangeHistory();
  ASSERT_FALSE(history.empty());
  EXPECT_TRUE(SketchSession::IsMessageBox(history.front().window)) << "the first window up was not the box; " << Describe(history);
  EXPECT_FALSE(BothUpAtOnce(history)) << Describe(history);

  // No picture: black around the labels.
  EXPECT_TRUE(WaitUntil([&] { return PaintedWithoutPicture(sketch); }, kTextTimeout))
      << "the window does not show its labels on black";

  // The dialogue starts at its first step all the same.
  sketch.ClickAt(kStarsCentreX, kStarsCentreY);
  EXPECT_TRUE(WaitUntil([&] { return TalkLabelShowsText(sketch); }, kTextTimeout)) << "no step performed";
}

INSTANTIATE_TEST_SUITE_P(Pictures, StartupErrorTest, testing::ValuesIn(kStartupErrors),
                         [](const testing::TestParamInfo<StartupErrorCase>& info) { return info.param.name; });

// An empty file loads; decoding it fails in the first paint, over the shown
// window, and only once, however often the window is painted again.
TEST(DecodeErrorTest, EmptyPictureReportsOnceOverTheShownWindow) {
  SketchFolder folder;
  folder.WritePictureBytes("");
  SketchSession sketch(folder);

  std::optional<XClient::WindowInfo> box = sketch.WaitForMessageBox();
  ASSERT_TRUE(box) << "no message box";
  std::optional<XClient::WindowInfo> window = sketch.MainWindow();
  ASSERT_TRUE(window) << "the box came without the window";
  const std::vector<XClient::WindowChange>& history = sketch.X().ChangeHistory();
  ASSERT_FALSE(history.empty());
  EXPECT_TRUE(SketchSession::IsMainWindow(history.front().window)) << "the window was not up first; " << Describe(history);
  std::vector<XClient::WindowInfo> stack = sketch.X().TopLevelWindows();
  auto position = [&](Window id) {
    return std::find_if(stack.begin(), stack.end(), [id](const XClient::WindowInfo& w) { return w.id == id; });
  };
  EXPECT_GT(position(box->id), position(window->id)) << "the box is not above the window";

  sketch.Input().TypeKey(box->id, XK_Escape);
  ASSERT_TRUE(WaitUntil([&] { return !sketch.MessageBox(); }, kTextTimeout)) << "Escape did not close the box";
  // Make the whole window paint again, then let ticks and repaints run.
  sketch.X().CoverAndUncover(kWindowLeft, kWindowTop, kClientSize, kClientSize);
  EXPECT_TRUE(WaitUntil([&] { return PaintedWithoutPicture(sketch); }, kTextTimeout))
      << "the window did not paint again";
  Pause(kSettle);
  EXPECT_EQ(CountMapped(sketch.X().ChangeHistory(), SketchSession::IsMessageBox), 1);
  EXPECT_TRUE(sketch.MainWindow());
  EXPECT_TRUE(sketch.Program().Running());
}

// The clock stands at UTC midnight, so the seed is 0 and the chime is asked
// for on the second tick; without the wave file nothing is reported.
TEST(ChimeErrorTest, MissingWaveFileIsNotReported) {
  std::optional<std::vector<std::string>> midnight = FrozenClockAt("00:00:00");
  if (!midnight) GTEST_SKIP() << "libfaketime is not installed";
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(321, 321), {});
  SketchSession::Options options;
  options.environment = *midnight;
  SketchSession sketch(folder, options);

  ASSERT_TRUE(sketch.WaitForMainWindow());
  Pause(milliseconds(1000));
  EXPECT_EQ(CountMapped(sketch.X().ChangeHistory(), SketchSession::IsMessageBox), 0);
  EXPECT_TRUE(sketch.Program().Running());
}

// A display number that nothing serves.
std::string DeadDisplay() {
  for (int number = 400;; ++number) {
    std::string n = std::to_string(number);
    if (!std::filesystem::exists("/tmp/.X11-unix/X" + n) && !std::filesystem::exists("/tmp/.X" + n + "-lock")) {
      return ":" + n;
    }
  }
}

struct NoDisplayCase {
  std::string name;
  bool setDisplay;
};

void PrintTo(const NoDisplayCase& c, std::ostream* out) { *out << c.name; }

const NoDisplayCase kNoDisplays[] = {{"DisplayUnset", false}, {"DisplayDead", true}};

class NoDisplayTest : public testing::TestWithParam<NoDisplayCase> {};

TEST_P(NoDisplayTest, ExitsWithOneAndAReport) {
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(321, 321), {});
  ChildProcess::Options options;
  options.arguments = {SketchPath()};
  options.environment = InheritedEnvironment();
  options.environment.push_back("SDL_AUDIODRIVER=dummy");
  if (GetParam().setDisplay) options.environment.push_back("DISPLAY=" + DeadDisplay());
  options.workingDirectory = folder.Root();
  options.errorFile = folder.ScratchPath("stderr.txt");
  ChildProcess sketch(options);

  std::optional<int> code = sketch.WaitForExit(kExitTimeout);
  ASSERT_TRUE(code) << "still running without a display";
  EXPECT_EQ(*code, 1);
  std::ifstream in(options.errorFile);
  std::string report((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(report.find("がモジュール"), std::string::npos) << "standard error: " << report;
}

INSTANTIATE_TEST_SUITE_P(Displays, NoDisplayTest, testing::ValuesIn(kNoDisplays),
                         [](const testing::TestParamInfo<NoDisplayCase>& info) { return info.param.name; });

}  // namespace
