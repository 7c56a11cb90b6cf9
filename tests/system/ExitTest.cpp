// Every normal end of the program exits with code 0: the window closed as a
// window manager closes it, and the session ending by SIGTERM or SIGINT.

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "SketchFolder.h"
#include "SketchSession.h"
#include "TestPattern.h"
#include "Waiting.h"

namespace {

constexpr milliseconds kExitTimeout(5000);

enum class Ending { DeleteWindow, Terminate, Interrupt };

struct EndingCase {
  std::string name;
  Ending ending;
};

void PrintTo(const EndingCase& c, std::ostream* out) { *out << c.name; }

const EndingCase kEndings[] = {
    {"WmDeleteWindow", Ending::DeleteWindow},
    {"Sigterm", Ending::Terminate},
    {"Sigint", Ending::Interrupt},
};

class ExitTest : public testing::TestWithParam<EndingCase> {};

TEST_P(ExitTest, EndsWithCodeZero) {
  SketchFolder folder;
  folder.WritePicture(MakeTestPattern(321, 321), {});
  SketchSession sketch(folder);
  std::optional<XClient::WindowInfo> window = sketch.WaitForMainWindow();
  ASSERT_TRUE(window);

  switch (GetParam().ending) {
    case Ending::DeleteWindow: sketch.X().SendDeleteWindow(window->id); break;
    case Ending::Terminate: sketch.Program().Signal(SIGTERM); break;
    case Ending::Interrupt: sketch.Program().Signal(SIGINT); break;
  }
  std::optional<int> code = sketch.Program().WaitForExit(kExitTimeout);
  ASSERT_TRUE(code) << "the program did not end";
  EXPECT_EQ(*code, 0);
}

INSTANTIATE_TEST_SUITE_P(Endings, ExitTest, testing::ValuesIn(kEndings),
                         [](const testing::TestParamInfo<EndingCase>& info) { return info.param.name; });

}  // namespace
