#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program's texts are code page 932 byte strings; SDL, fontconfig and the
// X server want UTF-8. These are the only places where the two meet.

// Bytes that have no character in the code page come out as U+FFFD.
std::string Cp932ToUtf8(std::string_view text);

// Empty when some character has no place in the code page.
std::optional<std::string> Utf8ToCp932(std::string_view text);
