// The painting program reproduces the committed bitmaps byte for byte; the bitmaps the program
// carries have the sizes and frame counts the skin relies on and keep the rules of their pictures:
// neighbouring frames of a strip differ, the key colour appears only in see-through pictures and
// never fringes the art, stretched parts stretch without seams, and each picture carries the colours
// of its meaning.

#include "toolkit/components/Resources.h"
#include "tools/paint_resources/AppPictures.h"
#include "tools/paint_resources/ContactSheet.h"
#include "tools/paint_resources/Pixmap.h"
#include "tools/paint_resources/ResourceFiles.h"
#include "tools/paint_resources/ResourceTable.h"

#include <SDL.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Every built-in bitmap the skin loads, with the width and height it expects.
constexpr const char* kExpectedSizes = R"(
MACOS_BUTTON 252 23|WINXP_BUTTON 54 21|DEEPBLUE_BUTTON 222 21|PROTEIN_BUTTON 222 21|BLUEGLASS_BUTTON 231 27
MACOS_CHECKBOX 60 17|WINXP_CHECKBOX 52 13|DEEPBLUE_CHECKBOX 52 13|PROTEIN_CHECKBOX 52 13|BLUEGLASS_CHECKBOX 52 13
MACOS_RADIOBUTTON 64 17|WINXP_RADIOBUTTON 52 13|DEEPBLUE_RADIOBUTTON 52 13|PROTEIN_RADIOBUTTON 52 13|BLUEGLASS_RADIOBUTTON 52 13
MACOS_TITLEBTN 306 17|WINXP_TITLEBTN 378 21|DEEPBLUE_TITLEBTN 342 19|PROTEIN_TITLEBTN 342 19|BLUEGLASS_TITLEBTN 342 19
MACOS_TITLE_LEFT 48 23|WINXP_TITLE_LEFT 35 29|DEEPBLUE_TITLE_LEFT 97 32|PROTEIN_TITLE_LEFT 441 23|BLUEGLASS_TITLE_LEFT 162 33
MACOS_TITLE_CLIENT 49 23|WINXP_TITLE_CLIENT 37 29|DEEPBLUE_TITLE_CLIENT 98 32|PROTEIN_TITLE_CLIENT 1 23|BLUEGLASS_TITLE_CLIENT 179 33
MACOS_TITLE_RIGHT 48 23|WINXP_TITLE_RIGHT 35 29|DEEPBLUE_TITLE_RIGHT 97 32|PROTEIN_TITLE_RIGHT 1 23|BLUEGLASS_TITLE_RIGHT 101 33
MACOS_PROGRESSBAR 13 10|WINXP_PROGRESSBAR 6 10|DEEPBLUE_PROGRESSBAR 1 10|PROTEIN_PROGRESSBAR 1 10|BLUEGLASS_PROGRESSBAR 1 10
MACOS_TRACKBAR_BAR 45 5|WINXP_TRACKBAR_BAR 45 8|DEEPBLUE_TRACKBAR_BAR 45 4|PROTEIN_TRACKBAR_BAR 45 4|BLUEGLASS_TRACKBAR_BAR 45 4
MACOS_TRACKBAR_SLIDER 11 20|WINXP_TRACKBAR_SLIDER 11 21|DEEPBLUE_TRACKBAR_SLIDER 11 20|PROTEIN_TRACKBAR_SLIDER 11 20|BLUEGLASS_TRACKBAR_SLIDER 11 20
MACOS_TRACKBAR_SLIDER_V 19 11|WINXP_TRACKBAR_SLIDER_V 22 11|DEEPBLUE_TRACKBAR_SLIDER_V 18 11|PROTEIN_TRACKBAR_SLIDER_V 18 11|BLUEGLASS_TRACKBAR_SLIDER_V 18 11
MACOS_SCROLLBAR_BUTTON 96 22|WINXP_SCROLLBAR_BUTTON 96 17|DEEPBLUE_SCROLLBAR_BUTTON 96 16|PROTEIN_SCROLLBAR_BUTTON 96 16|BLUEGLASS_SCROLLBAR_BUTTON 102 16
MACOS_SCROLLBAR_TRACK 33 16|WINXP_SCROLLBAR_TRACK 21 16|DEEPBLUE_SCROLLBAR_TRACK 21 16|PROTEIN_SCROLLBAR_TRACK 21 16|BLUEGLASS_SCROLLBAR_TRACK 21 16
MACOS_CHECKLIST 40 11|WINXP_CHECKLIST 44 11|DEEPBLUE_CHECKLIST 44 11|PROTEIN_CHECKLIST 44 11|BLUEGLASS_CHECKLIST 44 11
MACOS_SCROLLBUTTON 72 18|WINXP_SCROLLBUTTON 72 18|MORE_SCROLLBUTTON 72 17
MACOS_TAB 36 27|WINXP_TAB 18 18|DEEPBLUE_TAB 12 17|PROTEIN_TAB 18 17|BLUEGLASS_TAB 18 17
MACOS_TAB_LINE 17 7|WINXP_TAB_LINE 8 1|DEEPBLUE_TAB_LINE 5 5|PROTEIN_TAB_LINE 10 5|BLUEGLASS_TAB_LINE 10 5
MACOS_SIDECHENNEL_HANDLE 7 84|WINXP_SIDECHENNEL_HANDLE 8 86|DEEPBLUE_SIDECHENNEL_HANDLE 8 83|PROTEIN_SIDECHENNEL_HANDLE 8 83|BLUEGLASS_SIDECHENNEL_HANDLE 8 86
MACOS_SIDECHENNEL_BAR 1 21|WINXP_SIDECHENNEL_BAR 1 21|DEEPBLUE_SIDECHENNEL_BAR 1 20|PROTEIN_SIDECHENNEL_BAR 1 21|BLUEGLASS_SIDECHENNEL_BAR 1 21
MACOS_FORM_BACKGROUND 8 8|PROTEIN_FORM_BACKGROUND 8 8|MACOS_MENU_BAR 1 22|MACOS_MENU_SELECT 1 21|MENU_CHECKED 16 16|MSGDLG 168 42
)";

// Frame counts the skin cuts these strips into, by the element part of the name (after the look).
const std::map<std::string, int> kFixedFrames = {
    {"BUTTON", 3},           {"TITLEBTN", 18},       {"CHECKBOX", 4}, {"RADIOBUTTON", 4},
    {"SCROLLBAR_BUTTON", 6}, {"SCROLLBAR_TRACK", 3}, {"MSGDLG", 4}};

std::string ElementPart(const std::string& name) {
    const std::size_t cut = name.find('_');
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

struct TSize2 {
    int w = 0;
    int h = 0;
};

std::map<std::string, TSize2> ExpectedSizes() {
    std::map<std::string, TSize2> sizes;
    std::string text = kExpectedSizes;
    for (char& c : text) {
        c = c == '|' ? '\n' : c;
    }
    std::istringstream in(text);
    std::string name;
    TSize2 s;
    while (in >> name >> s.w >> s.h) {
        sizes[name] = s;
    }
    return sizes;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// 0xRRGGBB pixels of a BMP file, read back through SDL's own loader.
struct TPixels {
    int w = 0;
    int h = 0;
    std::vector<std::uint32_t> px;
    std::uint32_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
};

TPixels Decode(SDL_Surface* loaded) {
    TPixels out;
    if (loaded == nullptr) {
        return out;
    }
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) {
        return out;
    }
    out.w = rgb->w;
    out.h = rgb->h;
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(rgb->pixels) + y * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x) {
            out.px.push_back(row[x] & 0xFFFFFF);
        }
    }
    SDL_FreeSurface(rgb);
    return out;
}

std::vector<std::uint8_t> Embedded(const std::string& name) {
    const auto bytes = FindEmbeddedResource(name);
    if (!bytes) {
        return {};
    }
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes->data());
    return {p, p + bytes->size()};
}

// A built-in bitmap as the program carries it, read through SDL's own loader.
TPixels Bitmap(const std::string& name) {
    const auto bytes = FindEmbeddedResource(name);
    if (!bytes) {
        return {};
    }
    return Decode(SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1));
}

// A folder of its own under the system's temporary folder, removed afterwards.
class TScratchDir {
public:
    explicit TScratchDir(const std::string& purpose)
        : m_path(fs::temp_directory_path() / ("varnel-" + purpose + "-" + std::to_string(::getpid()))) {
        fs::create_directories(m_path);
    }
    ~TScratchDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

int R(std::uint32_t p) {
    return static_cast<int>(p >> 16 & 0xFF);
}
int G(std::uint32_t p) {
    return static_cast<int>(p >> 8 & 0xFF);
}
int B(std::uint32_t p) {
    return static_cast<int>(p & 0xFF);
}

TEST(PaintingProgram, ReproducesTheCommittedFilesByteForByte) {
    const TScratchDir dir("paint-resources");
    std::string error;
    ASSERT_TRUE(WriteAllResources(dir.Path(), error)) << error;
    std::set<std::string> written;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const fs::path relative = fs::relative(entry.path(), dir.Path());
        written.insert(relative.generic_string());
        // What the program carries is compared as it carries it; the rest (the desktop's icons)
        // as the files committed beside it.
        const std::string name = entry.path().stem().string();
        const bool embedded = relative.parent_path().empty() && entry.path().extension() != ".png";
        const std::vector<std::uint8_t> committed =
            embedded ? Embedded(name) : ReadFile(fs::path(VARNEL_SOURCE_DIR) / "resources" / relative);
        ASSERT_FALSE(committed.empty()) << relative << " is painted but not among the committed resources";
        EXPECT_TRUE(ReadFile(entry.path()) == committed)
            << relative.string()
            << " differs from the committed file: run varnel-paint-resources resources and commit the result";
    }
    EXPECT_EQ(written.size(), BitmapResources().size() + 1 + AppPictureFiles().size());
    EXPECT_TRUE(written.count(std::string(kMainIconName) + ".ico"));
    for (const TAppPictureFile& file : AppPictureFiles()) {
        EXPECT_TRUE(written.count(file.path)) << file.path;
    }
}

TEST(PaintingProgram, FilesKeepThePaintedPixelsInTheirColourOrder) {
    const TScratchDir dir("paint-colours");
    for (const char* name : {"MSGDLG", "PROTEIN_TITLE_LEFT", "BLUEGLASS_BUTTON", "WINXP_PROGRESSBAR"}) {
        const TImage image = PaintBitmapResource(*FindBitmapResource(name));
        const fs::path path = dir.Path() / (std::string(name) + ".bmp");
        std::string error;
        ASSERT_TRUE(SaveBmp(image, path, error)) << error;
        const TPixels bmp = Decode(SDL_LoadBMP(path.string().c_str()));
        ASSERT_EQ(bmp.w, image.Width());
        ASSERT_EQ(bmp.h, image.Height());
        int mismatches = 0;
        for (int y = 0; y < bmp.h; ++y) {
            for (int x = 0; x < bmp.w; ++x) {
                mismatches += bmp.At(x, y) != image.Pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(mismatches, 0) << name;
    }
}

TEST(PaintingProgram, ContactSheetIsWrittenForPeopleToJudge) {
    const TScratchDir scratch("paint-sheet");
    const char* artifacts = std::getenv("VARNEL_TEST_ARTIFACTS");
    const fs::path dir = artifacts != nullptr && *artifacts != '\0' ? fs::path(artifacts) : scratch.Path();
    fs::create_directories(dir);
    const fs::path sheet = dir / "skin-bitmaps-contact-sheet.png";
    std::string error;
    ASSERT_TRUE(WriteContactSheet(sheet, error)) << error;
    const std::vector<std::uint8_t> png = ReadFile(sheet);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[2], 'N');
    EXPECT_EQ(png[3], 'G');
}

TEST(BuiltInBitmaps, EveryBitmapHasTheSizeAndFramesTheSkinExpects) {
    const std::map<std::string, TSize2> expected = ExpectedSizes();
    ASSERT_EQ(expected.size(), 99u);
    std::set<std::string> painted;
    for (const TResourceEntry& entry : BitmapResources()) {
        painted.insert(entry.name);
        const auto it = expected.find(entry.name);
        ASSERT_NE(it, expected.end()) << entry.name << " is not a resource the skin loads";
        const TPixels bmp = Bitmap(entry.name);
        EXPECT_EQ(bmp.w, it->second.w) << entry.name;
        EXPECT_EQ(bmp.h, it->second.h) << entry.name;
        EXPECT_EQ(entry.width % entry.frames, 0) << entry.name << " does not cut into equal frames";
        const auto fixed = kFixedFrames.find(ElementPart(entry.name));
        if (fixed != kFixedFrames.end()) {
            EXPECT_EQ(entry.frames, fixed->second) << entry.name;
        }
    }
    for (const auto& [name, size] : expected) {
        EXPECT_TRUE(painted.count(name)) << name << " is missing";
    }
}

// Share of a frame's pixels that differ visibly between frames a and b (numbered from 0).
double FrameDifference(const TPixels& bmp, int frames, int a, int b) {
    const int fw = bmp.w / frames;
    int differing = 0;
    for (int y = 0; y < bmp.h; ++y) {
        for (int x = 0; x < fw; ++x) {
            const std::uint32_t p = bmp.At(a * fw + x, y);
            const std::uint32_t q = bmp.At(b * fw + x, y);
            const int d = std::abs(R(p) - R(q)) + std::abs(G(p) - G(q)) + std::abs(B(p) - B(q));
            differing += d > 24 ? 1 : 0;
        }
    }
    return differing / static_cast<double>(fw * bmp.h);
}

TEST(BuiltInBitmaps, NeighbouringFramesOfEveryStripDiffer) {
    for (const TResourceEntry& entry : BitmapResources()) {
        if (entry.frames < 2) {
            continue;
        }
        const TPixels bmp = Bitmap(entry.name);
        for (int f = 0; f + 1 < entry.frames; ++f) {
            EXPECT_GE(FrameDifference(bmp, entry.frames, f, f + 1), 0.03)
                << entry.name << ": frames " << f + 1 << " and " << f + 2 << " look alike";
        }
        if (EndsWith(entry.name, "_TITLEBTN")) {
            // Maximise (7 to 9) and restore (10 to 12) must be told apart in every state.
            for (int s = 0; s < 3; ++s) {
                EXPECT_GE(FrameDifference(bmp, 18, 6 + s, 9 + s), 0.02)
                    << entry.name << ": maximise and restore alike";
            }
        }
    }
}

int Distance(std::uint32_t p, std::uint32_t q) {
    return std::abs(R(p) - R(q)) + std::abs(G(p) - G(q)) + std::abs(B(p) - B(q));
}

TEST(BuiltInBitmaps, ButtonFacesStretchWithoutSeams) {
    for (const char* look : {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"}) {
        const std::string name = std::string(look) + "_BUTTON";
        const TPixels strip = Bitmap(name);
        const int W = strip.w / 3;
        const int H = strip.h;
        const int hw = W / 2;
        const int hh = H / 2;
        for (int f = 0; f < 3; ++f) {
            const auto at = [&](int x, int y) { return strip.At(f * W + x, y); };
            // Across: the column the skin stretches matches its neighbours up to the right corner.
            for (int y = 0; y < H; ++y) {
                for (int x = hw - 1; x <= W - hw + 1; ++x) {
                    ASSERT_EQ(at(x, y), at(hw, y)) << name << " frame " << f + 1 << " at " << x << "," << y;
                }
            }
            // Down: the left edge and the centre stretch row hh, the right and bottom edges row
            // hh + 1; if the two differed, the stretched band would change colour part way across.
            for (int x = 0; x < W; ++x) {
                EXPECT_LE(Distance(at(x, hh), at(x, hh + 1)), 30)
                    << name << " frame " << f + 1 << " rows " << hh << "/" << hh + 1 << " at x " << x;
            }
        }
    }
}

TEST(BuiltInBitmaps, ButtonFacesDrawnAtTheProgramsSizeHaveNoHoles) {
    // The skin draws edges and centre with the key left out: a key pixel there would be a hole.
    for (const char* look : {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"}) {
        const std::string name = std::string(look) + "_BUTTON";
        const TPixels strip = Bitmap(name);
        TPixmap source(strip.w, strip.h, 0);
        source.px = strip.px;
        for (int f = 1; f <= 3; ++f) {
            for (const auto& [w, h] : std::vector<std::pair<int, int>>{{129, 27}, {80, 27}, {200, 40}}) {
                TPixmap face(w, h, 0x00FF00);
                DrawKeepCorners(face, Slice(source, 3, f), 0, 0, w, h, true);
                // Inside the face, clear of the rounded ends, which may rightly be see-through.
                for (int y = 3; y < h - 3; ++y) {
                    for (int x = strip.h / 2; x < w - strip.h / 2; ++x) {
                        ASSERT_NE(face.At(x, y), 0x00FF00u) << name << " " << f << " at " << x << "," << y;
                        ASSERT_NE(face.At(x, y), kKeyPixel) << name << " " << f << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(BuiltInBitmaps, StretchedPicturesAreUniformAlongTheirStretch) {
    // Pictures the skin stretches sideways must not change along the stretch, or it would smear.
    for (const char* look : {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"}) {
        for (const char* element : {"_TITLE_CLIENT", "_PROGRESSBAR", "_TAB_LINE", "_SCROLLBAR_TRACK"}) {
            const std::string name = std::string(look) + element;
            const TPixels bmp = Bitmap(name);
            const bool thumb = EndsWith(name, "_SCROLLBAR_TRACK");
            const int x0 = thumb ? bmp.w / 3 : 0;
            const int x1 = thumb ? 2 * bmp.w / 3 : bmp.w;
            for (int y = 0; y < bmp.h; ++y) {
                for (int x = x0; x < x1; ++x) {
                    ASSERT_EQ(bmp.At(x, y), bmp.At(x0, y)) << name << " at " << x << "," << y;
                }
            }
        }
    }
}

bool IsKey(std::uint32_t p) {
    return p == kKeyPixel;
}

// A pixel tinted towards the key: what anti-aliasing against magenta would leave behind.
bool IsPinkish(std::uint32_t p) {
    return R(p) - G(p) > 70 && B(p) - G(p) > 70;
}

TEST(BuiltInBitmaps, KeyColourOnlyInSeeThroughPicturesAndNeverFringed) {
    for (const TResourceEntry& entry : BitmapResources()) {
        const TPixels bmp = Bitmap(entry.name);
        int keys = 0;
        int fringe = 0;
        for (int y = 0; y < bmp.h; ++y) {
            for (int x = 0; x < bmp.w; ++x) {
                const std::uint32_t p = bmp.At(x, y);
                keys += IsKey(p) ? 1 : 0;
                if (!IsKey(p) && IsPinkish(p)) {
                    ++fringe;
                }
            }
        }
        if (entry.surface == TSurface::Opaque) {
            EXPECT_EQ(keys, 0) << entry.name << " is drawn opaque but holds the key colour";
        } else {
            EXPECT_GT(keys, 0) << entry.name;
        }
        EXPECT_EQ(fringe, 0) << entry.name << " has pink pixels";
    }
}

TEST(BuiltInBitmaps, SeeThroughLooksKeyTheCornersOfTheirButtons) {
    // The looks that draw their push buttons or title-bar buttons see-through rely on the key in
    // every corner; the others draw them opaque.
    // The horizontal track bar's thumb is drawn see-through in every look.
    std::vector<std::pair<std::string, int>> keyed = {
        {"MACOS_BUTTON", 3}, {"BLUEGLASS_BUTTON", 3}, {"PROTEIN_TITLEBTN", 18}, {"BLUEGLASS_TITLEBTN", 18}};
    for (const char* look : {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"}) {
        keyed.emplace_back(std::string(look) + "_TRACKBAR_SLIDER", 1);
    }
    for (const auto& [name, frames] : keyed) {
        const TPixels bmp = Bitmap(name);
        const int fw = bmp.w / frames;
        for (int f = 0; f < frames; ++f) {
            const int x0 = f * fw;
            EXPECT_TRUE(IsKey(bmp.At(x0, 0)) && IsKey(bmp.At(x0 + fw - 1, 0)) &&
                        IsKey(bmp.At(x0, bmp.h - 1)) && IsKey(bmp.At(x0 + fw - 1, bmp.h - 1)))
                << name << " frame " << f + 1;
            EXPECT_FALSE(IsKey(bmp.At(x0 + fw / 2, bmp.h / 2))) << name << " frame " << f + 1;
        }
    }
    for (const char* name : {"WINXP_BUTTON", "DEEPBLUE_BUTTON", "PROTEIN_BUTTON", "MACOS_TITLEBTN",
                             "WINXP_TITLEBTN", "DEEPBLUE_TITLEBTN"}) {
        EXPECT_EQ(FindBitmapResource(name)->surface, TSurface::Opaque) << name;
    }
}

TEST(BuiltInBitmaps, MiddleOfThreePartBarsHoldsNoKey) {
    // The middle piece is stretched without a transparent colour, so any key there would show.
    for (const TResourceEntry& entry : BitmapResources()) {
        if (!EndsWith(entry.name, "_TRACKBAR_BAR") && !EndsWith(entry.name, "_TAB")) {
            continue;
        }
        const TPixels bmp = Bitmap(entry.name);
        const int fw = bmp.w / 3;
        for (int y = 0; y < bmp.h; ++y) {
            for (int x = fw; x < 2 * fw; ++x) {
                ASSERT_FALSE(IsKey(bmp.At(x, y))) << entry.name << " at " << x << "," << y;
                ASSERT_EQ(bmp.At(x, y), bmp.At(fw, y)) << entry.name << ": the middle is not uniform across";
            }
        }
    }
}

enum TTone { kRed, kYellow, kGreen, kBlue, kOther };

TTone ToneOf(std::uint32_t p) {
    const int r = R(p);
    const int g = G(p);
    const int b = B(p);
    if (r > 150 && g > 120 && b < 110 && r - b > 90) {
        return kYellow;
    }
    if (r - g > 70 && r - b > 70) {
        return kRed;
    }
    if (g - r > 40 && g - b > 25) {
        return kGreen;
    }
    if (b - r > 60 && b - g > 10) {
        return kBlue;
    }
    return kOther;
}

// The tone most pixels of the frame carry, apart from greys.
TTone DominantTone(const TPixels& bmp, int frames, int index) {
    const int fw = bmp.w / frames;
    int counts[kOther + 1] = {};
    for (int y = 0; y < bmp.h; ++y) {
        for (int x = index * fw; x < (index + 1) * fw; ++x) {
            ++counts[ToneOf(bmp.At(x, y))];
        }
    }
    int best = kRed;
    for (int t = kRed; t < kOther; ++t) {
        best = counts[t] > counts[best] ? t : best;
    }
    return static_cast<TTone>(best);
}

TEST(BuiltInBitmaps, PicturesCarryTheColoursOfTheirMeaning) {
    const TPixels icons = Bitmap("MSGDLG");
    EXPECT_EQ(DominantTone(icons, 4, 0), kYellow) << "warning";
    EXPECT_EQ(DominantTone(icons, 4, 1), kRed) << "stop";
    EXPECT_EQ(DominantTone(icons, 4, 2), kBlue) << "information";
    EXPECT_EQ(DominantTone(icons, 4, 3), kGreen) << "help";

    const TPixels check = Bitmap("MENU_CHECKED");
    EXPECT_EQ(check.At(0, 0), 0xFFFFFFu) << "the menus key the check mark's white";
    EXPECT_EQ(check.At(15, 15), 0xFFFFFFu);
    EXPECT_EQ(DominantTone(check, 1, 0), kGreen);

    // MacOS: red close, yellow minimise, green maximise and restore, in every state.
    const TPixels mac = Bitmap("MACOS_TITLEBTN");
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(DominantTone(mac, 18, 15 + s), kRed);
        EXPECT_EQ(DominantTone(mac, 18, 12 + s), kYellow);
        EXPECT_EQ(DominantTone(mac, 18, 6 + s), kGreen);
        EXPECT_EQ(DominantTone(mac, 18, 9 + s), kGreen);
    }
    // WinXP: blue buttons with a red close button on a blue bar.
    const TPixels xp = Bitmap("WINXP_TITLEBTN");
    EXPECT_EQ(DominantTone(xp, 18, 15), kRed);
    EXPECT_EQ(DominantTone(xp, 18, 6), kBlue);
    EXPECT_EQ(DominantTone(Bitmap("WINXP_TITLE_CLIENT"), 1, 0), kBlue);
    EXPECT_EQ(DominantTone(Bitmap("PROTEIN_TITLE_LEFT"), 1, 0), kRed);
    EXPECT_EQ(DominantTone(Bitmap("MACOS_BUTTON"), 3, 0), kBlue);
}

TEST(BuiltInBitmaps, TitleBarsJoinWithoutSeams) {
    // The stretched middle meets the left and right pictures with the same column of colours.
    for (const char* look : {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"}) {
        const std::string prefix = look;
        const TPixels left = Bitmap(prefix + "_TITLE_LEFT");
        const TPixels client = Bitmap(prefix + "_TITLE_CLIENT");
        const TPixels right = Bitmap(prefix + "_TITLE_RIGHT");
        ASSERT_EQ(left.h, client.h);
        ASSERT_EQ(right.h, client.h);
        for (int y = 0; y < client.h; ++y) {
            EXPECT_EQ(left.At(left.w - 1, y), client.At(0, y)) << look << " row " << y;
            if (right.w > 1) {
                EXPECT_EQ(right.At(0, y), client.At(client.w - 1, y)) << look << " row " << y;
            }
        }
    }
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(BuiltInBitmaps, IconHoldsA16AndA32ImageWithMatchingMasks) {
    const std::vector<std::uint8_t> ico = Embedded(kMainIconName);
    ASSERT_GE(ico.size(), 6u + 2 * 16u);
    EXPECT_EQ(ico[2] | ico[3] << 8, 1);
    ASSERT_EQ(ico[4] | ico[5] << 8, 2);
    for (int e = 0; e < 2; ++e) {
        const std::size_t entry = 6 + 16 * e;
        const int size = ico[entry];
        EXPECT_EQ(size, e == 0 ? 16 : 32);
        EXPECT_EQ(ico[entry + 1], size);
        EXPECT_EQ(ico[entry + 6] | ico[entry + 7] << 8, 32);
        const std::uint32_t bytes = Le32(ico, entry + 8);
        const std::uint32_t offset = Le32(ico, entry + 12);
        const std::uint32_t maskStride = (size + 31) / 32 * 4;
        ASSERT_EQ(bytes, 40 + size * size * 4 + maskStride * size);
        ASSERT_LE(offset + bytes, ico.size());
        EXPECT_EQ(Le32(ico, offset), 40u);
        EXPECT_EQ(Le32(ico, offset + 8), static_cast<std::uint32_t>(2 * size));
        const std::size_t colours = offset + 40;
        const std::size_t mask = colours + size * size * 4;
        int transparent = 0;
        for (int row = 0; row < size; ++row) {
            for (int x = 0; x < size; ++x) {
                const std::uint8_t alpha = ico[colours + (row * size + x) * 4 + 3];
                const bool masked = ico[mask + row * maskStride + x / 8] & (0x80 >> (x % 8));
                EXPECT_EQ(masked, alpha == 0) << "size " << size << " at " << x << "," << row;
                transparent += masked ? 1 : 0;
            }
        }
        // Rounded corners are see-through, the middle is not. Rows are stored bottom-up.
        EXPECT_EQ(ico[colours + 3], 0) << "corner of " << size;
        EXPECT_EQ(ico[colours + ((size / 2) * size + size / 2) * 4 + 3], 255) << "middle of " << size;
        EXPECT_GT(transparent, 0);
    }
}

} // namespace
