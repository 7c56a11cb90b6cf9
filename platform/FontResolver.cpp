#include "FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <initializer_list>
#include <memory>
#include <optional>

#include "Cp932.h"
#include "Errors.h"
#include "TFont.h"

namespace {

// Proportional Japanese gothic faces that stand in for "ＭＳ Ｐゴシック", the face
// every label asks for, best first. The program asks for no other face.
constexpr std::initializer_list<const char*> kJapaneseGothicFamilies = {
    "IPAPGothic",       "VL PGothic",         "TakaoPGothic",
    "Noto Sans CJK JP", "Source Han Sans JP", "IPAexGothic"};

// Hiragana, katakana, a common kanji and the full-width punctuation of the title
// line: a face without any of them cannot show the program's texts.
constexpr std::initializer_list<FcChar32> kJapaneseSamples = {0x3042, 0x30A2, 0x6E29,
                                                              0xFF1A, 0xFF1B, 0xFF49};

// The system is a Japanese one, so its default character set is Shift-JIS too.
bool NeedsJapanese(std::uint8_t charset) {
  return charset == SHIFTJIS_CHARSET || charset == DEFAULT_CHARSET;
}

bool CoversJapanese(FcPattern* font) {
  FcCharSet* chars = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
  for (FcChar32 sample : kJapaneseSamples) {
    if (!FcCharSetHasChar(chars, sample)) return false;
  }
  return true;
}

bool IsProportional(FcPattern* font) {
  int spacing = FC_PROPORTIONAL;
  FcPatternGetInteger(font, FC_SPACING, 0, &spacing);
  return spacing == FC_PROPORTIONAL;
}

bool IsFamily(FcPattern* font, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) {
      return true;
    }
  }
  return false;
}

std::optional<FontFile> FileOf(FcPattern* font) {
  FcChar8* path = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &path) != FcResultMatch) return std::nullopt;
  int index = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  return FontFile{reinterpret_cast<const char*>(path), index};
}

// The first font of the ranked set that passes the test and names a file.
template <typename Test>
std::optional<FontFile> FirstFile(const FcFontSet& ranked, Test test) {
  for (int i = 0; i < ranked.nfont; ++i) {
    if (!test(ranked.fonts[i])) continue;
    if (auto file = FileOf(ranked.fonts[i])) return file;
  }
  return std::nullopt;
}

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

const FcChar8* Utf8(const char* text) { return reinterpret_cast<const FcChar8*>(text); }

// The requested family first, then the Japanese stand-ins, then any sans face,
// each with the aliases the configuration adds.
PatternPtr RequestPattern(FcConfig* config, const std::string& family, bool needsJapanese) {
  PatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, Utf8(family.c_str()));
  if (needsJapanese) {
    for (const char* standIn : kJapaneseGothicFamilies) {
      FcPatternAddString(pattern.get(), FC_FAMILY, Utf8(standIn));
    }
    FcPatternAddString(pattern.get(), FC_LANG, Utf8("ja"));
  }
  FcPatternAddString(pattern.get(), FC_FAMILY, Utf8("sans-serif"));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  return pattern;
}

}  // namespace

FontResolver& FontResolver::System() {
  static FontResolver resolver(FcInitLoadConfigAndFonts());
  return resolver;
}

FontResolver::FontResolver(const std::string& fontDirectory) : FontResolver(FcConfigCreate()) {
  FcConfigAppFontAddDir(config_, Utf8(fontDirectory.c_str()));
}

FontResolver::FontResolver(FcConfig* config) : config_(config) {}

FontResolver::~FontResolver() { FcConfigDestroy(config_); }

const FontFile& FontResolver::Resolve(std::string_view faceName, std::uint8_t charset) {
  auto key = std::make_pair(std::string(faceName), charset);
  auto found = resolved_.find(key);
  if (found != resolved_.end()) return found->second;
  FontFile file = Lookup(Cp932ToUtf8(faceName), NeedsJapanese(charset));
  return resolved_.emplace(std::move(key), std::move(file)).first->second;
}

// A Japanese request takes the face asked for if it really has Japanese glyphs,
// else the best proportional face that has them, else any face that has them;
// failing all (or for other character sets) the best match, so that the labels
// still show what they can.
FontFile FontResolver::Lookup(const std::string& family, bool needsJapanese) const {
  PatternPtr request = RequestPattern(config_, family, needsJapanese);
  FcResult result = FcResultNoMatch;
  FontSetPtr ranked(FcFontSort(config_, request.get(), FcFalse, nullptr, &result));
  if (!ranked || ranked->nfont == 0) throw EOutOfResources("No font is installed");
  std::optional<FontFile> file;
  if (needsJapanese) {
    file =
        FirstFile(*ranked, [&](FcPattern* f) { return CoversJapanese(f) && IsFamily(f, family); });
    if (!file)
      file =
          FirstFile(*ranked, [](FcPattern* f) { return CoversJapanese(f) && IsProportional(f); });
    if (!file) file = FirstFile(*ranked, CoversJapanese);
  }
  if (!file) file = FirstFile(*ranked, [](FcPattern*) { return true; });
  if (!file) throw EOutOfResources("No font is installed");
  return *file;
}
