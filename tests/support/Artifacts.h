#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

// Pictures of what tests rendered. With VARNEL_TEST_ARTIFACTS set, SaveArtifactPng writes
// <test suite>.<test>.<name>.png there so that a person can look at it. The expectations below
// always save the picture when they fail: into that folder, or else into test-failures/ under
// the build folder (VARNEL_TEST_BUILD_DIR, which CTest sets), or else the working directory.

// Returns the path written, or an empty string when no artifacts folder is set.
std::string SaveArtifactPng(std::string_view name, const TPixelBuffer& pixels);
std::string SaveArtifactPng(std::string_view name, const TBitmap& bitmap);
// Saves whether or not the artifacts folder is set; returns the path written.
std::string SaveFailurePng(std::string_view name, const TPixelBuffer& pixels);

// Characters standing for pixel values in pictures written as rows of text.
using TPixelLegend = std::map<char, std::uint32_t>;

// The buffer as rows of legend characters; '?' for a pixel the legend does not name.
std::vector<std::string> PixelPicture(const TPixelBuffer& pixels, const TPixelLegend& legend);

// Every pixel of actual against a picture: rows of legend characters, as many rows as the
// buffer is high and as long as it is wide. On failure the message shows both pictures.
::testing::AssertionResult PixelsMatch(const TPixelBuffer& actual, const std::vector<std::string>& expected,
                                       const TPixelLegend& legend, std::string_view name);
// The pixels of part of actual (rows and columns of area) against a picture of that part.
::testing::AssertionResult PixelsMatchIn(const TPixelBuffer& actual, const TRect& area,
                                         const std::vector<std::string>& expected, const TPixelLegend& legend,
                                         std::string_view name);
// Every pixel of actual against expected, sizes included.
::testing::AssertionResult SamePixels(const TPixelBuffer& actual, const TPixelBuffer& expected,
                                      std::string_view name);
// Every pixel of area (clipped to actual) has the value pixel.
::testing::AssertionResult AreaIs(const TPixelBuffer& actual, const TRect& area, std::uint32_t pixel,
                                  std::string_view name);
