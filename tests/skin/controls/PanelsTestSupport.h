#pragma once

// Helpers of the tests of the panels, group box, track and scroll bars and memo: pixels of a
// control as the screen shows them, pictures made pixel by pixel, and theme files written on the
// fly.

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFileWriter.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Color.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// The screen pixel (0x00RRGGBB) of a colour value (0x00BBGGRR).
inline std::uint32_t Px(TColor color) {
    return ColorToPixel(color);
}

// A bitmap drawn from rows of characters, each standing for a colour.
inline void FillBitmap(TBitmap& bitmap, const std::vector<std::string>& rows,
                       std::initializer_list<std::pair<char, TColor>> legend) {
    const int height = static_cast<int>(rows.size());
    const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (const auto& [c, color] : legend) {
                if (rows[y][x] == c) {
                    bitmap.Pixels().Set(x, y, ColorToPixel(color));
                }
            }
        }
    }
    bitmap.Modified();
}

// Part of a picture enlarged factor times, each pixel a square, for a person to look at.
inline TPixelBuffer Enlarged(const TPixelBuffer& source, const TRect& area, int factor) {
    TPixelBuffer out(area.Width() * factor, area.Height() * factor);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            out.Set(x, y, source.At(area.Left + x / factor, area.Top + y / factor));
        }
    }
    return out;
}

// A theme file in a folder of its own, removed with the object.
class TTempThemeFile {
public:
    TTempThemeFile() {
        m_dir = std::filesystem::temp_directory_path() /
                ("varnel-panels-" + std::to_string(::getpid()) + "-" + std::to_string(++Counter()));
        std::filesystem::create_directories(m_dir);
    }
    ~TTempThemeFile() { std::filesystem::remove_all(m_dir); }
    TTempThemeFile(const TTempThemeFile&) = delete;
    TTempThemeFile& operator=(const TTempThemeFile&) = delete;

    TsuiThemeFileWriter Writer;
    // Writes the file and loads it into theme.
    void LoadInto(TsuiFileTheme* theme) {
        const std::string path = (m_dir / "test.theme").string();
        ASSERT_TRUE(Writer.SaveToFile(path).IsOk());
        ASSERT_TRUE(theme->SetThemeFile(path).IsOk());
        ASSERT_TRUE(theme->IsThemeLoaded());
    }

private:
    static int& Counter() {
        static int counter = 0;
        return counter;
    }
    std::filesystem::path m_dir;
};

// Controls on a form that is shown: what the screen shows of them.
class TPanelsFixture : public TControlFixture {
protected:
    // A form of the given colour, shown.
    TForm* ShownForm(TColor color = 0x00C0C0C0, TRect bounds = {100, 100, 600, 500}) {
        TForm* form = NewForm(bounds);
        form->SetColor(color);
        ShowForm(form);
        return form;
    }
    // How many pixels of area (client coordinates of control) the screen shows in pixel.
    int CountPixels(const TControl* control, const TRect& area, std::uint32_t pixel) {
        int count = 0;
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                if (PixelAt(control, x, y) == pixel) {
                    ++count;
                }
            }
        }
        return count;
    }
    // Whether every pixel of area shows pixel.
    bool AllPixels(const TControl* control, const TRect& area, std::uint32_t pixel) {
        return CountPixels(control, area, pixel) == area.Width() * area.Height();
    }
};
