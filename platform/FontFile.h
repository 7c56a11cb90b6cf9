#pragma once

#include <compare>
#include <string>

// A face as the font library opens it: the file and, for a collection, the
// face's index inside it.
struct FontFile {
  std::string Path;
  int Index = 0;
  friend auto operator<=>(const FontFile&, const FontFile&) = default;
};
