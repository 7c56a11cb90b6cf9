#include "JpegTools.h"

#include <chrono>
#include <stdexcept>

#include "ChildProcess.h"
#include "TestEnvironment.h"

namespace {

constexpr auto kToolTimeout = std::chrono::seconds(20);

void RunTool(std::vector<std::string> arguments, const std::filesystem::path& outputFile) {
  ChildProcess::Options options;
  options.arguments = std::move(arguments);
  options.environment = InheritedEnvironment();
  options.outputFile = outputFile;
  ChildProcess tool(options);
  std::optional<int> code = tool.WaitForExit(kToolTimeout);
  if (code != 0) throw std::runtime_error(options.arguments.front() + " failed for " + outputFile.string());
}

}  // namespace

void EncodeJpeg(const RgbImage& picture, const std::vector<std::string>& cjpegOptions,
                const std::filesystem::path& jpegFile) {
  std::filesystem::path source = jpegFile;
  source += ".source.ppm";
  picture.WritePpm(source);
  std::vector<std::string> arguments{CjpegPath()};
  arguments.insert(arguments.end(), cjpegOptions.begin(), cjpegOptions.end());
  arguments.push_back(source.string());
  RunTool(arguments, jpegFile);
  std::filesystem::remove(source);
}

RgbImage DecodeJpeg(const std::filesystem::path& jpegFile, const std::vector<std::string>& djpegOptions) {
  std::filesystem::path decoded = jpegFile;
  decoded += ".decoded.pnm";
  std::vector<std::string> arguments{DjpegPath(), "-pnm"};
  arguments.insert(arguments.end(), djpegOptions.begin(), djpegOptions.end());
  arguments.push_back(jpegFile.string());
  RunTool(arguments, decoded);
  RgbImage image = RgbImage::ReadPnm(decoded);
  std::filesystem::remove(decoded);
  return image;
}
