#include "Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace {

// glibc's "SHIFT_JIS" rejects several characters of the code page (the NEC and
// IBM extensions, the wave dash mapped to U+FF5E); "CP932" is the code page itself.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of text; on a byte sequence that cannot be converted it either
  // writes the replacement and skips one byte, or gives up.
  std::optional<std::string> Convert(std::string_view text, std::string_view replacement) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char buffer[256];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      std::size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, outPtr);
      if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      if (replacement.empty()) return std::nullopt;
      out += replacement;
      ++in;
      --inLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string Cp932ToUtf8(std::string_view text) {
  thread_local Converter converter("UTF-8", "CP932");
  return *converter.Convert(text, "\xEF\xBF\xBD");
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  thread_local Converter converter("CP932", "UTF-8");
  return converter.Convert(text, {});
}
