#include <SDL2/SDL_ttf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "platform/Errors.h"
#include "platform/FontResolver.h"
#include "platform/TFont.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint8_t ANSI_CHARSET = 0;

const fs::path kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
const fs::path kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Opens the resolved file on its own, so the checks do not rest on fontconfig.
class OpenedFace {
 public:
  explicit OpenedFace(const FontFile& file) {
    TTF_Init();
    font_ = TTF_OpenFontIndex(file.Path.c_str(), 12, file.Index);
  }
  ~OpenedFace() {
    if (font_ != nullptr) TTF_CloseFont(font_);
    TTF_Quit();
  }
  OpenedFace(const OpenedFace&) = delete;
  OpenedFace& operator=(const OpenedFace&) = delete;

  bool IsOpen() const { return font_ != nullptr; }
  std::string Family() const { return TTF_FontFaceFamilyName(font_); }
  bool IsFixedWidth() const { return TTF_FontFaceIsFixedWidth(font_) != 0; }
  bool CoversJapanese() const {
    for (Uint32 c : {U'あ', U'ア', U'温', U'：', U'；', U'ｉ'}) {
      if (!TTF_GlyphIsProvided32(font_, c)) return false;
    }
    return true;
  }

 private:
  TTF_Font* font_ = nullptr;
};

struct FaceRequest {
  const char* Case;
  const char* Name;  // code page 932
  std::uint8_t Charset;
  const char* ExpectedFamily;
};

void PrintTo(const FaceRequest& request, std::ostream* out) { *out << request.Case; }

class SystemFaces : public testing::TestWithParam<FaceRequest> {};

TEST_P(SystemFaces, ResolveToTheFaceThatCanShowTheirTexts) {
  const FaceRequest& request = GetParam();
  OpenedFace face(FontResolver::System().Resolve(request.Name, request.Charset));
  ASSERT_TRUE(face.IsOpen());
  EXPECT_EQ(face.Family(), request.ExpectedFamily);
  if (request.Charset == SHIFTJIS_CHARSET) {
    EXPECT_TRUE(face.CoversJapanese());
  }
}

INSTANTIATE_TEST_SUITE_P(
    FontResolver, SystemFaces,
    testing::Values(
        // The labels' face: a proportional gothic, not fontconfig's own pick IPAGothic.
        FaceRequest{"label face", "ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, "IPAPGothic"},
        FaceRequest{"label face with the default charset", "ＭＳ Ｐゴシック", DEFAULT_CHARSET,
                    "IPAPGothic"},
        FaceRequest{"unknown face", "No Such Face", SHIFTJIS_CHARSET, "IPAPGothic"},
        // Installed, but without Japanese glyphs: substituted.
        FaceRequest{"face without Japanese", "DejaVu Sans", SHIFTJIS_CHARSET, "IPAPGothic"},
        // Installed and able: taken as asked for, monospaced or not.
        FaceRequest{"monospaced Japanese face", "IPAGothic", SHIFTJIS_CHARSET, "IPAGothic"},
        FaceRequest{"Latin face", "DejaVu Sans", ANSI_CHARSET, "DejaVu Sans"}));

TEST(FontResolver, TheLabelFaceIsProportional) {
  OpenedFace face(FontResolver::System().Resolve("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET));
  ASSERT_TRUE(face.IsOpen());
  EXPECT_FALSE(face.IsFixedWidth());
}

// A directory of chosen fonts, so the fallbacks can be seen.
class FontDirectory : public testing::Test {
 protected:
  void SetUp() override {
    directory_ =
        fs::temp_directory_path() /
        ("fonts-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  fs::path Add(const fs::path& font) {
    fs::path copy = directory_ / font.filename();
    fs::copy_file(font, copy);
    return copy;
  }

  fs::path directory_;
};

TEST_F(FontDirectory, AMonospacedJapaneseFaceBeatsAProportionalFaceWithoutJapanese) {
  Add(kDejaVuSans);
  fs::path ipaGothic = Add(kIpaGothic);
  FontResolver resolver(directory_.string());
  EXPECT_EQ(resolver.Resolve("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET).Path, ipaGothic.string());
}

TEST_F(FontDirectory, WithoutAnyJapaneseFaceSomeFaceIsStillTaken) {
  fs::path dejaVu = Add(kDejaVuSans);
  FontResolver resolver(directory_.string());
  EXPECT_EQ(resolver.Resolve("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET).Path, dejaVu.string());
}

TEST_F(FontDirectory, WithoutAnyFontTheRequestFails) {
  FontResolver resolver(directory_.string());
  EXPECT_THROW(resolver.Resolve("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET), EOutOfResources);
}

TEST_F(FontDirectory, ARequestIsResolvedOnlyOnce) {
  Add(kIpaGothic);
  FontResolver resolver(directory_.string());
  const FontFile& first = resolver.Resolve("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET);
  EXPECT_EQ(&resolver.Resolve("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET), &first);
}

}  // namespace
