#include <gtest/gtest.h>
#include <langinfo.h>
#include <locale.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Locale.h"

namespace {

constexpr const char* kNoLocaleSources = "cannot compile the locale (is the locales package installed?)";

// Sets environment variables for one test and puts the old values back.
class EnvironmentOverride {
 public:
  ~EnvironmentOverride() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        unsetenv(it->first.c_str());
      }
    }
  }

  void Set(const std::string& name, const std::string& value) {
    Save(name);
    setenv(name.c_str(), value.c_str(), 1);
  }

  void Unset(const std::string& name) {
    Save(name);
    unsetenv(name.c_str());
  }

 private:
  void Save(const std::string& name) {
    const char* old = getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Compiles locales from the system's locale sources into a private directory
// and points the C library at it, so the tests need no locale generated on the
// machine beforehand.
class LocaleTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/sketch-locales-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory_ = pattern;
    environment_.Set("LOCPATH", directory_.string());
    environment_.Unset("LC_ALL");
    environment_.Unset("LC_NUMERIC");
    environment_.Unset("LANG");
  }

  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  // Builds the locale source (with the UTF-8 character map) under the given
  // name; false when the system has no locale compiler or no such source.
  [[nodiscard]] bool Compile(const std::string& source, const std::string& name) {
    const std::string command = "localedef -i " + source + " -f UTF-8 " + (directory_ / name).string() +
                                " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  // The separator as the C library gives it, to show what the test is about.
  static std::string SeparatorOf(const std::string& name) {
    const locale_t locale = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return "(no locale)";
    std::string separator = nl_langinfo_l(RADIXCHAR, locale);
    freelocale(locale);
    return separator;
  }

  EnvironmentOverride environment_;
  std::filesystem::path directory_;
};

TEST_F(LocaleTest, ReadsACommaFromAGermanLocaleWithoutAdoptingIt) {
  if (!Compile("de_DE", "de_DE.UTF-8")) GTEST_SKIP() << kNoLocaleSources;
  environment_.Set("LANG", "de_DE.UTF-8");
  EXPECT_EQ(ReadDecimalSeparator(), ',');
  EXPECT_STREQ(setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_STREQ(localeconv()->decimal_point, ".");
}

TEST_F(LocaleTest, TakesTheNumericCategoryOverTheLanguage) {
  if (!Compile("de_DE", "de_DE.UTF-8")) GTEST_SKIP() << kNoLocaleSources;
  environment_.Set("LANG", "C");
  environment_.Set("LC_NUMERIC", "de_DE.UTF-8");
  EXPECT_EQ(ReadDecimalSeparator(), ',');
  environment_.Set("LC_ALL", "C");
  EXPECT_EQ(ReadDecimalSeparator(), '.');
}

TEST_F(LocaleTest, FallsBackToPointForAMultiByteSeparator) {
  // Pashto separates decimals with U+066B, two bytes in UTF-8.
  if (!Compile("ps_AF", "ps_AF.UTF-8")) GTEST_SKIP() << kNoLocaleSources;
  ASSERT_EQ(SeparatorOf("ps_AF.UTF-8"), "\xD9\xAB");  // U+066B in UTF-8
  environment_.Set("LC_ALL", "ps_AF.UTF-8");
  EXPECT_EQ(ReadDecimalSeparator(), '.');
}

TEST_F(LocaleTest, FallsBackToPointForAMissingLocale) {
  environment_.Set("LC_ALL", "xx_NOWHERE.UTF-8");
  EXPECT_EQ(ReadDecimalSeparator(), '.');
}

TEST_F(LocaleTest, ReadsPointFromTheCLocale) {
  environment_.Set("LC_ALL", "C");
  EXPECT_EQ(ReadDecimalSeparator(), '.');
}

}  // namespace
