#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "RgbImage.h"

// libjpeg's own command-line tools: the pictures under test are made with
// cjpeg and the pixels expected on screen come from djpeg, not from our code.

void EncodeJpeg(const RgbImage& picture, const std::vector<std::string>& cjpegOptions,
                const std::filesystem::path& jpegFile);

// Uses a scratch file next to the JPEG file.
RgbImage DecodeJpeg(const std::filesystem::path& jpegFile, const std::vector<std::string>& djpegOptions);
