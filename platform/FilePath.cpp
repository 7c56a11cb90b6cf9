#include "FilePath.h"

#include <algorithm>

std::string FileSystemPath(std::string_view name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}
