#include "tests/support/Artifacts.h"

#include "toolkit/graphics/PngCodec.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

std::string FileStem(std::string_view name) {
    std::string stem;
    if (const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        stem = std::string(info->test_suite_name()) + "." + info->name() + ".";
    }
    stem += name;
    for (char& c : stem) {
        bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                    c == '-' || c == '_';
        if (!safe) {
            c = '_';
        }
    }
    return stem;
}

std::string WriteInto(const std::filesystem::path& folder, std::string_view name,
                      const TPixelBuffer& pixels) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::filesystem::path path = folder / (FileStem(name) + ".png");
    if (pixels.Empty()) {
        return {};
    }
    TStatus result = WritePngFile(pixels, path.string());
    return result ? path.string() : std::string{};
}

std::string Hex(std::uint32_t pixel) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", pixel);
    return text;
}

::testing::AssertionResult FailWithPicture(std::string_view name, const TPixelBuffer& pixels,
                                           const std::string& message) {
    std::string saved = SaveFailurePng(name, pixels);
    return ::testing::AssertionFailure() << message << (saved.empty() ? "" : "\nsaved: " + saved);
}

} // namespace

std::string SaveArtifactPng(std::string_view name, const TPixelBuffer& pixels) {
    const char* folder = std::getenv("VARNEL_TEST_ARTIFACTS");
    if (!folder || !*folder) {
        return {};
    }
    return WriteInto(folder, name, pixels);
}

std::string SaveArtifactPng(std::string_view name, const TBitmap& bitmap) {
    return SaveArtifactPng(name, bitmap.Pixels());
}

std::string SaveFailurePng(std::string_view name, const TPixelBuffer& pixels) {
    if (const char* folder = std::getenv("VARNEL_TEST_ARTIFACTS"); folder && *folder) {
        return WriteInto(folder, name, pixels);
    }
    if (const char* build = std::getenv("VARNEL_TEST_BUILD_DIR"); build && *build) {
        return WriteInto(std::filesystem::path(build) / "test-failures", name, pixels);
    }
    return WriteInto(std::filesystem::current_path(), name, pixels);
}

std::vector<std::string> PixelPicture(const TPixelBuffer& pixels, const TPixelLegend& legend) {
    std::map<std::uint32_t, char> names;
    for (const auto& [c, pixel] : legend) {
        names.emplace(pixel, c);
    }
    std::vector<std::string> rows;
    for (int y = 0; y < pixels.Height(); ++y) {
        std::string row;
        for (int x = 0; x < pixels.Width(); ++x) {
            auto it = names.find(pixels.At(x, y));
            row.push_back(it == names.end() ? '?' : it->second);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

::testing::AssertionResult PixelsMatchIn(const TPixelBuffer& actual, const TRect& area,
                                         const std::vector<std::string>& expected, const TPixelLegend& legend,
                                         std::string_view name) {
    std::ostringstream message;
    bool same = static_cast<int>(expected.size()) == area.Height();
    for (int y = 0; same && y < area.Height(); ++y) {
        const std::string& row = expected[static_cast<std::size_t>(y)];
        if (static_cast<int>(row.size()) != area.Width()) {
            same = false;
            break;
        }
        for (int x = 0; x < area.Width(); ++x) {
            auto it = legend.find(row[static_cast<std::size_t>(x)]);
            if (it == legend.end()) {
                return ::testing::AssertionFailure()
                       << "the legend has no '" << row[static_cast<std::size_t>(x)] << "'";
            }
            if (!actual.Contains(area.Left + x, area.Top + y) ||
                actual.At(area.Left + x, area.Top + y) != it->second) {
                same = false;
                message << "first difference at (" << area.Left + x << ", " << area.Top + y << "): expected "
                        << Hex(it->second) << ", found " << Hex(actual.At(area.Left + x, area.Top + y))
                        << "\n";
                break;
            }
        }
    }
    if (same) {
        return ::testing::AssertionSuccess();
    }
    TPixelBuffer part(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            part.Set(x, y, actual.At(area.Left + x, area.Top + y));
        }
    }
    message << "expected:\n";
    for (const std::string& row : expected) {
        message << "  " << row << "\n";
    }
    message << "actual:\n";
    for (const std::string& row : PixelPicture(part, legend)) {
        message << "  " << row << "\n";
    }
    return FailWithPicture(name, actual, message.str());
}

::testing::AssertionResult PixelsMatch(const TPixelBuffer& actual, const std::vector<std::string>& expected,
                                       const TPixelLegend& legend, std::string_view name) {
    if (static_cast<int>(expected.size()) != actual.Height() ||
        (!expected.empty() && static_cast<int>(expected[0].size()) != actual.Width())) {
        std::ostringstream message;
        message << "size " << actual.Width() << " x " << actual.Height() << " does not match the picture";
        return FailWithPicture(name, actual, message.str());
    }
    return PixelsMatchIn(actual, actual.Bounds(), expected, legend, name);
}

::testing::AssertionResult SamePixels(const TPixelBuffer& actual, const TPixelBuffer& expected,
                                      std::string_view name) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        std::ostringstream message;
        message << "size " << actual.Width() << " x " << actual.Height() << ", expected " << expected.Width()
                << " x " << expected.Height();
        return FailWithPicture(name, actual, message.str());
    }
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            if (actual.At(x, y) != expected.At(x, y)) {
                SaveFailurePng(std::string(name) + ".expected", expected);
                std::ostringstream message;
                message << "first difference at (" << x << ", " << y << "): expected "
                        << Hex(expected.At(x, y)) << ", found " << Hex(actual.At(x, y));
                return FailWithPicture(name, actual, message.str());
            }
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult AreaIs(const TPixelBuffer& actual, const TRect& area, std::uint32_t pixel,
                                  std::string_view name) {
    TRect r = IntersectRects(area, actual.Bounds());
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            if (actual.At(x, y) != pixel) {
                std::ostringstream message;
                message << "pixel (" << x << ", " << y << ") is " << Hex(actual.At(x, y)) << ", expected "
                        << Hex(pixel);
                return FailWithPicture(name, actual, message.str());
            }
        }
    }
    return ::testing::AssertionSuccess();
}
