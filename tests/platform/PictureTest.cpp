#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "JpegFixtures.h"
#include "platform/Errors.h"
#include "platform/TJPEGImage.h"
#include "platform/TPicture.h"

namespace {

// Remembers what the container asked of it, instead of reading a file.
class RecordingGraphic : public TGraphic {
 public:
  static inline std::vector<std::string> loadedNames;
  static inline TSize limitAtLoad;

  static std::unique_ptr<TGraphic> Create() { return std::make_unique<RecordingGraphic>(); }

  void LoadFromFile(const std::string& fileName) override {
    loadedNames.push_back(fileName);
    limitAtLoad = limit_;
  }
  int Width() const override { return 7; }
  int Height() const override { return 5; }
  void SetVisibleLimit(TSize limit) override { limit_ = limit; }
  void Draw(TCanvas&, int, int) override {}

 private:
  TSize limit_;
};

class PictureTest : public ::testing::Test {
 protected:
  void TearDown() override { TPicture::UnregisterFileFormats(); }
};

std::string LoadFailure(TPicture& picture, const std::string& fileName) {
  try {
    picture.LoadFromFile(fileName);
  } catch (const Exception& e) {
    return e.ClassName() + ": " + e.Message();
  }
  return "";
}

TEST_F(PictureTest, TheExtensionAfterTheLastDotChoosesTheGraphicClass) {
  TPicture::RegisterFileFormat("jpeg", "JPEG イメージファイル", &RecordingGraphic::Create);
  TPicture::RegisterFileFormat("jpg", "JPEG イメージファイル", &RecordingGraphic::Create);
  struct Case {
    std::string fileName;
    bool chosen;
  };
  std::vector<Case> cases = {
      {"a.jpg", true},         {"A.JPEG", true},         {"a.b.jpg", true},       {"[]\\sketch.Jpg", true},
      {"x.bmp", false},        {"dir.jpg\\file", false}, {"dir.jpg/file", false}, {"c.jpg:stream", false},
      {"noext", false},        {"trailing.", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName);
    RecordingGraphic::loadedNames.clear();
    TPicture picture;
    std::string failure = LoadFailure(picture, c.fileName);
    if (c.chosen) {
      EXPECT_EQ(failure, "");
      EXPECT_EQ(RecordingGraphic::loadedNames, std::vector<std::string>{c.fileName});
      EXPECT_FALSE(picture.Empty());
    } else {
      EXPECT_EQ(failure, "EInvalidGraphic: ファイル " + c.fileName + " は不明なピクチャ形式です");
      EXPECT_TRUE(RecordingGraphic::loadedNames.empty());
      EXPECT_TRUE(picture.Empty());
    }
  }
}

TEST_F(PictureTest, TheVisibleLimitReachesGraphicsLoadedLater) {
  TPicture::RegisterFileFormat("jpg", "JPEG イメージファイル", &RecordingGraphic::Create);
  TPicture picture;
  picture.SetVisibleLimit({321, 321});
  picture.LoadFromFile("a.jpg");
  EXPECT_EQ(RecordingGraphic::limitAtLoad, (TSize{321, 321}));
  EXPECT_EQ(picture.Width(), 7);
  EXPECT_EQ(picture.Height(), 5);
}

TEST_F(PictureTest, OnlyASuccessfulLoadReplacesTheGraphicAndReportsAChange) {
  TPicture::RegisterFileFormat("jpg", "JPEG イメージファイル", &TJPEGImage::Create);
  ScratchDirectory scratch;
  WriteSourcePicture(scratch.Path("source.ppm"), 40, 30);
  std::string good = Compress(scratch.Path("source.ppm"), scratch.Path("good.jpg"), "").string();
  WriteBytes(scratch.Path("bad.jpg"), "GIF89a");
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&changes] { ++changes; };
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Width(), 0);

  picture.LoadFromFile(good);
  ASSERT_EQ(changes, 1);
  TGraphic* held = picture.Graphic();

  EXPECT_EQ(LoadFailure(picture, scratch.Path("bad.jpg").string()), "EJPEG: JPEG エラー #52");
  EXPECT_EQ(LoadFailure(picture, scratch.Path("none.jpg").string()).substr(0, 11), "EFOpenError");
  EXPECT_EQ(LoadFailure(picture, scratch.Path("good.png").string()).substr(0, 15), "EInvalidGraphic");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(picture.Graphic(), held);
  EXPECT_EQ(picture.Width(), 40);
  EXPECT_EQ(picture.Height(), 30);
}

TEST_F(PictureTest, TheShippedPictureLoadsByItsOwnNameAndDecodes) {
  TPicture::RegisterFileFormat("jpg", "JPEG イメージファイル", &TJPEGImage::Create);
  ChangedDirectory root("../..");
  TPicture picture;
  picture.SetVisibleLimit({321, 321});
  picture.LoadFromFile("[]\\sketch5422493.jpg");
  EXPECT_EQ(picture.Width(), 321);
  EXPECT_EQ(picture.Height(), 321);
  SurfaceCanvas window(337, 337);
  picture.Draw(window.Canvas(), 8, 8);
}

TEST_F(PictureTest, AnEmptyPictureDrawsNothing) {
  TPicture picture;
  SurfaceCanvas canvas(10, 10);
  canvas.Fill(9, 9, 9);
  picture.Draw(canvas.Canvas(), 0, 0);
  EXPECT_EQ(canvas.At(5, 5), (std::array<std::uint8_t, 3>{9, 9, 9}));
}

}  // namespace
