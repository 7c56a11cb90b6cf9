#include "MessageText.h"

#include <cstdio>

#include "Errors.h"

namespace {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The first byte of the last character, walking the code page 932 text from
// its start (a trail byte can look like a single-byte character).
unsigned char LastCharacterFirstByte(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    start = i;
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
  return static_cast<unsigned char>(text[start]);
}

std::string FormatAddress(const void* address) {
  char buffer[2 * sizeof(void*) + 1];
  std::snprintf(buffer, sizeof buffer, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
  return buffer;
}

}  // namespace

std::string ApplicationTitleFromFileName(std::string_view fileName) {
  std::string_view name = fileName.substr(fileName.find_last_of('/') + 1);
  std::string title(name.substr(0, name.find('.')));
  for (std::size_t i = 0; i < title.size(); ++i) {
    // A double-byte character is no letter, even where its trail byte looks like one.
    if (IsLeadByte(static_cast<unsigned char>(title[i]))) {
      ++i;
    } else if (i > 0 && title[i] >= 'A' && title[i] <= 'Z') {
      title[i] = static_cast<char>(title[i] - 'A' + 'a');
    }
  }
  return title;
}

std::string WithFullStop(std::string_view message) {
  std::string text(message);
  if (!text.empty() && LastCharacterFirstByte(text) > '.') text += '.';
  return text;
}

std::string LastResortReport(std::string_view className, std::string_view moduleName,
                             const void* address, std::string_view message) {
  bool needsStop = !message.empty() && message.back() != '.';
  return FormatMessage("%sがモジュール %s の %p で発生しました。\n%s%s",
                       {className, moduleName, FormatAddress(address), message, needsStop ? "." : ""});
}
