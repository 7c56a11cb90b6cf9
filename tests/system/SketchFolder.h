#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "RgbImage.h"

// The current directory for one run of the program: a fresh scratch folder
// holding the "[]" folder where the program looks for its picture and chime.
// Removed with everything in it afterwards.
class SketchFolder {
 public:
  SketchFolder();
  ~SketchFolder();
  SketchFolder(const SketchFolder&) = delete;
  SketchFolder& operator=(const SketchFolder&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path PicturePath() const;
  // A file beside "[]", for what the test itself writes.
  std::filesystem::path ScratchPath(const std::string& name) const { return root_ / name; }

  void WritePicture(const RgbImage& picture, const std::vector<std::string>& cjpegOptions) const;
  void WritePictureBytes(const std::string& bytes) const;
  // A short, loud sine tone.
  void WriteChime() const;

 private:
  std::filesystem::path root_;
};
