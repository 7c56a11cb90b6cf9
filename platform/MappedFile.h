#pragma once

#include <cstddef>
#include <string>

// A file mapped read-only into memory, whole, for as long as the object lives.
class MappedFile {
 public:
  // Empty (Data() null) when the file cannot be opened or mapped.
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const void* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
};
