#include "skin/menus/SUIMenu.h"
#include "tests/support/Artifacts.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/menus/MenuPainter.h"
#include "toolkit/menus/MenuTracker.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Menus are drawn the way users see them: opened by the toolkit's menu loop in real menu windows,
// whose pixels the tests read back from the screen.

namespace {

std::uint32_t Px(TColor color) {
    return ColorToPixel(color);
}

// Column x of a one-pixel-wide resource strip, row by row.
std::vector<std::uint32_t> StripRows(const char* resource) {
    TBitmap strip;
    EXPECT_TRUE(strip.LoadFromResourceName(resource));
    std::vector<std::uint32_t> rows;
    for (int y = 0; y < strip.Height(); ++y) {
        rows.push_back(strip.Pixels().At(0, y));
    }
    return rows;
}

int CountOf(const TPixelBuffer& pixels, const TRect& area, std::uint32_t pixel) {
    int count = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            count += pixels.At(x, y) == pixel ? 1 : 0;
        }
    }
    return count;
}

// The bounds of every pixel of area that background does not explain.
TRect InkIn(const TPixelBuffer& pixels, const TRect& area,
            const std::function<std::uint32_t(int, int)>& background) {
    TRect ink{area.Right, area.Bottom, area.Left, area.Top};
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            if (pixels.At(x, y) != background(x, y)) {
                ink = {std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                       std::max(ink.Bottom, y + 1)};
            }
        }
    }
    return ink;
}

// What one menu window showed: its pixels and where each item lay in them.
struct TShot {
    TPixelBuffer Pixels;
    std::map<const TMenuItem*, TRect> Items;
    TRect Window; // on the screen

    const TRect& Of(const TMenuItem* item) const { return Items.at(item); }
};

class SkinnedMenuDrawing : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm({100, 100, 500, 400});
        ShowForm(form);
    }

    // Runs open (which shows a menu of root's items and returns when it closes), with the pointer
    // over hover when given, and keeps what the menu window showed.
    TShot Shoot(const std::function<void()>& open, TMenuItem* root, const TMenuItem* hover = nullptr) {
        TShot shot;
        WhenIdle([&] {
            if (hover) {
                TRect r;
                ASSERT_TRUE(GetOpenMenuItemRect(hover, r));
                InjectMove({r.Left + r.Width() / 2, r.Top + r.Height() / 2});
            }
        });
        WhenIdle([&] {
            const std::vector<HWND> windows = OpenMenuWindows();
            ASSERT_FALSE(windows.empty());
            RECT bounds;
            GetWindowRect(windows[0], &bounds);
            shot.Window = bounds;
            shot.Pixels = Presented(windows[0]);
            for (int i = 0; i < root->Count(); ++i) {
                TRect r;
                if (GetOpenMenuItemRect(root->Items(i), r)) {
                    shot.Items[root->Items(i)] = r.Offset(-bounds.Left, -bounds.Top);
                }
            }
            EndMenu();
        });
        open();
        return shot;
    }
    TShot ShootPopup(TPopupMenu& menu, const TMenuItem* hover = nullptr) {
        return Shoot([&] { menu.Popup(200, 150); }, menu.Items(), hover);
    }
    // A main menu's drop-down, as its bar drops it.
    TShot ShootDropDown(TMenuItem* top, const TMenuItem* hover = nullptr) {
        return Shoot(
            [&] {
                TTrackMenuParams params;
                params.Position = {200, 150};
                TrackMenu(top, params);
            },
            top, hover);
    }

    static TMenuItem* Add(TMenuItem* parent, const std::string& caption) {
        auto* item = new TMenuItem(nullptr);
        item->SetCaption(caption);
        EXPECT_TRUE(parent->Add(item));
        return item;
    }
    // Two solid images: 0 blue, 1 green.
    static void FillImages(TImageList& images) {
        for (TColor color : {TColor(0x3080E0), TColor(0x40A020)}) {
            TBitmap image(16, 16);
            image.Canvas()->Brush()->SetColor(color);
            image.Canvas()->FillRect({0, 0, 16, 16});
            images.AddMasked(&image, 0xFF00FF);
        }
    }

    TForm* form = nullptr;
};

// ---- Every look ---------------------------------------------------------------------------------------

class SkinnedMenuLooks : public SkinnedMenuDrawing, public testing::WithParamInterface<TsuiUIStyle> {
protected:
    void SetUp() override {
        SkinnedMenuDrawing::SetUp();
        FillImages(images);
        menu = new TsuiPopupMenu(form);
        menu->SetUIStyle(GetParam());
        menu->SetImages(&images);
        TMenuItem* root = menu->Items();
        open = Add(root, "&Open");
        open->SetShortCut(ShortCut('O', scCtrl));
        line = Add(root, "-");
        disabled = Add(root, "Disabled");
        disabled->SetEnabled(false);
        checked = Add(root, "Checked");
        checked->SetChecked(true);
        pressed = Add(root, "Pressed");
        pressed->SetChecked(true);
        pressed->SetImageIndex(0);
        picture = Add(root, "Picture");
        picture->SetImageIndex(1);
        outside = Add(root, "Outside");
        outside->SetChecked(true);
        outside->SetImageIndex(-2);
        beyond = Add(root, "Beyond");
        beyond->SetImageIndex(2);
        plain = Add(root, "Same");
        bold = Add(root, "Same");
        bold->SetDefault(true);
        menu->Loaded();
        mac = GetParam() == MacOS;
        itemStrip = StripRows("MACOS_MENU_BAR");
        selectStrip = StripRows("MACOS_MENU_SELECT");
    }

    // What an item that is not highlighted shows at (x, y) where nothing is drawn over it.
    std::uint32_t Background(const TRect& item, int x, int y) const {
        if (mac) {
            return itemStrip.at(static_cast<std::size_t>(y - item.Top));
        }
        return Px(x < item.Left + menu->BarWidth() ? menu->BarColor() : menu->Color());
    }
    std::function<std::uint32_t(int, int)> BackgroundOf(const TRect& item) const {
        return [this, item](int x, int y) { return Background(item, x, y); };
    }
    // The check mark at (Left + 4, Top + 3) over the item's background: white is transparent.
    void ExpectCheckMark(const TShot& shot, const TMenuItem* item) const {
        const TRect r = shot.Of(item);
        TBitmap check;
        ASSERT_TRUE(check.LoadFromResourceName("MENU_CHECKED"));
        int differences = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const std::uint32_t source = check.Pixels().At(x, y);
                const int sx = r.Left + 4 + x;
                const int sy = r.Top + 3 + y;
                const std::uint32_t expected = source == 0xFFFFFF ? Background(r, sx, sy) : source;
                differences += shot.Pixels.At(sx, sy) != expected ? 1 : 0;
            }
        }
        EXPECT_EQ(differences, 0) << item->Caption();
    }

    TImageList images{16, 16};
    TsuiPopupMenu* menu = nullptr;
    TMenuItem *open = nullptr, *line = nullptr, *disabled = nullptr, *checked = nullptr, *pressed = nullptr;
    TMenuItem *picture = nullptr, *outside = nullptr, *beyond = nullptr, *plain = nullptr, *bold = nullptr;
    bool mac = false;
    std::vector<std::uint32_t> itemStrip;
    std::vector<std::uint32_t> selectStrip;
};

TEST_P(SkinnedMenuLooks, ItemsAndSeparatorsTakeTheLooksHeightsAndBackgrounds) {
    const TShot shot = ShootPopup(*menu);
    for (const auto& [item, r] : shot.Items) {
        EXPECT_EQ(r.Height(), item->IsLine() ? menu->SeparatorHeight() : menu->MenuItemHeight())
            << item->Caption();
    }
    EXPECT_EQ(shot.Of(open).Height(), mac ? 20 : 21);
    EXPECT_EQ(shot.Of(line).Height(), mac ? 12 : 5);

    // The top four rows and the side bar of an ordinary item are background only.
    const TRect r = shot.Of(open);
    const TRect top{r.Left, r.Top, r.Right, r.Top + 4};
    EXPECT_EQ(InkIn(shot.Pixels, top, BackgroundOf(r)).IsEmpty(), true);
    const TRect bar{r.Left, r.Top, r.Left + 26, r.Bottom};
    EXPECT_TRUE(InkIn(shot.Pixels, bar, BackgroundOf(r)).IsEmpty());

    const TRect s = shot.Of(line);
    if (mac) {
        for (int y = s.Top; y < s.Bottom; ++y) {
            EXPECT_TRUE(AreaIs(shot.Pixels, {s.Left, y, s.Right, y + 1},
                               itemStrip.at(static_cast<std::size_t>(y - s.Top)), "separator row"));
        }
        return;
    }
    // One line two pixels below the top, from four pixels past the side bar to two short of the
    // right edge.
    EXPECT_TRUE(
        AreaIs(shot.Pixels, {s.Left, s.Top, s.Left + 26, s.Bottom}, Px(menu->BarColor()), "side bar"));
    for (int y = s.Top; y < s.Bottom; ++y) {
        if (y == s.Top + 2) {
            EXPECT_TRUE(AreaIs(shot.Pixels, {s.Left + 30, y, s.Right - 2, y + 1}, Px(menu->SeparatorColor()),
                               "line"));
            EXPECT_EQ(shot.Pixels.At(s.Left + 29, y), Px(menu->Color()));
            EXPECT_EQ(shot.Pixels.At(s.Right - 2, y), Px(menu->Color()));
        } else {
            EXPECT_TRUE(
                AreaIs(shot.Pixels, {s.Left + 26, y, s.Right, y + 1}, Px(menu->Color()), "around the line"));
        }
    }
}

TEST_P(SkinnedMenuLooks, CaptionAndShortCutSitInTheirPlaces) {
    const TShot shot = ShootPopup(*menu);
    const TRect r = shot.Of(open);
    const TRect ink = InkIn(shot.Pixels, r, BackgroundOf(r));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, r.Left + 26 + 4);
    EXPECT_GE(ink.Top, r.Top + 4);
    EXPECT_LE(ink.Bottom, r.Bottom);
    // The short-cut text ends 16 pixels short of the right edge.
    EXPECT_LT(ink.Right, r.Right - 16 + 1);
    EXPECT_GT(ink.Right, r.Right - 16 - 4);
    EXPECT_GT(CountOf(shot.Pixels, ink, Px(menu->FontColor())), 0) << "text in the font colour";
}

TEST_P(SkinnedMenuLooks, TheHighlightedItemIsFilledFramedAndLettered) {
    const TShot shot = ShootPopup(*menu, open);
    const TRect r = shot.Of(open);
    if (mac) {
        for (int y = r.Top; y < r.Bottom; ++y) {
            const std::uint32_t row = selectStrip.at(static_cast<std::size_t>(y - r.Top));
            EXPECT_EQ(shot.Pixels.At(r.Left, y), row);
            EXPECT_EQ(shot.Pixels.At(r.Right - 1, y), row);
        }
    } else {
        const std::uint32_t border = Px(menu->SelectedBorderColor());
        EXPECT_TRUE(AreaIs(shot.Pixels, {r.Left, r.Top, r.Right, r.Top + 1}, border, "top"));
        EXPECT_TRUE(AreaIs(shot.Pixels, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, border, "bottom"));
        EXPECT_TRUE(AreaIs(shot.Pixels, {r.Left, r.Top, r.Left + 1, r.Bottom}, border, "left"));
        EXPECT_TRUE(AreaIs(shot.Pixels, {r.Right - 1, r.Top, r.Right, r.Bottom}, border, "right"));
        EXPECT_TRUE(AreaIs(shot.Pixels, {r.Left + 1, r.Top + 1, r.Left + 30, r.Bottom - 1},
                           Px(menu->SelectedColor()), "fill"));
    }
    EXPECT_GT(CountOf(shot.Pixels, r, Px(menu->SelectedFontColor())), 0)
        << "text in the selected font colour";
    // The others stay as they were.
    const TRect other = shot.Of(checked);
    EXPECT_TRUE(
        InkIn(shot.Pixels, {other.Left + 22, other.Top, other.Left + 30, other.Bottom}, BackgroundOf(other))
            .IsEmpty());
}

TEST_P(SkinnedMenuLooks, ADisabledItemUnderThePointerKeepsItsBackgroundAndGreyText) {
    const TShot shot = ShootPopup(*menu, disabled);
    const TRect r = shot.Of(disabled);
    const TRect ink = InkIn(shot.Pixels, r, BackgroundOf(r));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, r.Left + 30) << "nothing but text over the background";
    EXPECT_GT(CountOf(shot.Pixels, ink, 0x808080), 0);
    EXPECT_EQ(CountOf(shot.Pixels, ink, Px(menu->FontColor())), 0);
    if (!mac) {
        EXPECT_EQ(CountOf(shot.Pixels, r, Px(menu->SelectedColor())), 0);
    }
}

TEST_P(SkinnedMenuLooks, CheckMarksAndImagesShowInTheSideBar) {
    const TShot shot = ShootPopup(*menu);
    ExpectCheckMark(shot, checked);
    // An index outside the list is no image: the item is checked like one without.
    ExpectCheckMark(shot, outside);

    // A checked item with an image: the image inside a black box filled with the selected colour.
    const TRect p = shot.Of(pressed);
    const TRect box{p.Left + 2, p.Top + 1, p.Left + 21, p.Top + 20};
    EXPECT_TRUE(AreaIs(shot.Pixels, {box.Left, box.Top, box.Right, box.Top + 1}, 0, "box top"));
    EXPECT_TRUE(AreaIs(shot.Pixels, {box.Left, box.Bottom - 1, box.Right, box.Bottom}, 0, "box bottom"));
    EXPECT_TRUE(AreaIs(shot.Pixels, {box.Left, box.Top, box.Left + 1, box.Bottom}, 0, "box left"));
    EXPECT_TRUE(AreaIs(shot.Pixels, {box.Right - 1, box.Top, box.Right, box.Bottom}, 0, "box right"));
    const std::uint32_t fill = Px(menu->SelectedColor());
    EXPECT_TRUE(AreaIs(shot.Pixels, {p.Left + 3, p.Top + 2, p.Left + 20, p.Top + 3}, fill, "box fill, top"));
    EXPECT_TRUE(AreaIs(shot.Pixels, {p.Left + 3, p.Top + 2, p.Left + 4, p.Top + 19}, fill, "box fill, left"));
    EXPECT_TRUE(
        AreaIs(shot.Pixels, {p.Left + 4, p.Top + 3, p.Left + 20, p.Top + 19}, Px(0x3080E0), "image 0"));

    // An unchecked item with an image: the image alone.
    const TRect q = shot.Of(picture);
    EXPECT_TRUE(
        AreaIs(shot.Pixels, {q.Left + 4, q.Top + 3, q.Left + 20, q.Top + 19}, Px(0x40A020), "image 1"));
    EXPECT_EQ(shot.Pixels.At(q.Left + 2, q.Top + 1), Background(q, q.Left + 2, q.Top + 1));
    EXPECT_EQ(shot.Pixels.At(q.Left + 3, q.Top + 2), Background(q, q.Left + 3, q.Top + 2));

    // An index past the end draws nothing.
    const TRect b = shot.Of(beyond);
    EXPECT_TRUE(InkIn(shot.Pixels, {b.Left, b.Top, b.Left + 26, b.Bottom}, BackgroundOf(b)).IsEmpty());
}

TEST_P(SkinnedMenuLooks, TheDefaultItemIsBoldWhetherHighlightedOrNot) {
    const TShot normal = ShootPopup(*menu);
    const TRect p = normal.Of(plain);
    const TRect b = normal.Of(bold);
    const TRect plainInk = InkIn(normal.Pixels, p, BackgroundOf(p));
    const TRect boldInk = InkIn(normal.Pixels, b, BackgroundOf(b));
    ASSERT_FALSE(plainInk.IsEmpty());
    EXPECT_EQ(boldInk.Left - b.Left, plainInk.Left - p.Left);
    EXPECT_GT(boldInk.Right - b.Left, plainInk.Right - p.Left);

    const TShot highlighted = ShootPopup(*menu, bold);
    const TRect h = highlighted.Of(bold);
    const std::uint32_t text = Px(menu->SelectedFontColor());
    // Under the highlight the text is told apart by its colour.
    TRect lit{h.Right, h.Bottom, h.Left, h.Top};
    for (int y = h.Top + 1; y < h.Bottom - 1; ++y) {
        for (int x = h.Left + 1; x < h.Right - 1; ++x) {
            if (highlighted.Pixels.At(x, y) == text) {
                lit = {std::min(lit.Left, x), lit.Top, std::max(lit.Right, x + 1), lit.Bottom};
            }
        }
    }
    EXPECT_GT(lit.Right - h.Left, plainInk.Right - p.Left);
}

INSTANTIATE_TEST_SUITE_P(AllLooks, SkinnedMenuLooks, testing::ValuesIn(kBuiltInUIStyles),
                         [](const testing::TestParamInfo<TsuiUIStyle>& info) {
                             return std::string(kUIStyleNames[info.param]);
                         });

// ---- Measuring ----------------------------------------------------------------------------------------

TEST_F(SkinnedMenuDrawing, AMenuIsAsWideAsItsWidestCaptionAndShortCutPlusTheSideBarAndForty) {
    TsuiPopupMenu menu(form);
    menu.SetUIStyle(WinXP);
    Add(menu.Items(), "&Short");
    Add(menu.Items(), "-");
    TMenuItem* longest = Add(menu.Items(), "A much longer caption");
    longest->SetShortCut(ShortCut(VK_F4, scCtrl | scAlt));
    menu.Loaded();

    // Measured with the canvas the toolkit hands over, in the system menu font; "&" counts.
    TBitmap scratch(1, 1);
    SetSystemMenuFont(scratch.Canvas()->Font());
    const int widest = std::max(scratch.Canvas()->TextWidth("&Short"),
                                scratch.Canvas()->TextWidth("A much longer caption") +
                                    scratch.Canvas()->TextWidth(ShortCutToText(longest->ShortCut())));
    const TShot shot = ShootPopup(menu);
    EXPECT_EQ(shot.Of(longest).Width(), widest + 26 + 40);
    for (const auto& [item, r] : shot.Items) {
        EXPECT_EQ(r.Width(), widest + 26 + 40) << item->Caption();
    }
    EXPECT_EQ(shot.Window.Width(), widest + 26 + 40 + 2 * kMenuFrameWidth);
    EXPECT_EQ(shot.Window.Height(), 21 + 21 + 5 + 2 * kMenuFrameWidth);
}

// ---- The flat frame -----------------------------------------------------------------------------------

TEST_F(SkinnedMenuDrawing, AFlatMenuFramesItsWindowInBlackWhiteAndTheFormColour) {
    for (TsuiUIStyle style : {DeepBlue, Protein}) {
        SCOPED_TRACE(std::string(kUIStyleNames[style]));
        TsuiPopupMenu menu(form);
        menu.SetUIStyle(style);
        menu.SetFlatMenu(true);
        Add(menu.Items(), "One");
        Add(menu.Items(), "Two");
        menu.Loaded();
        const TShot shot = ShootPopup(menu);
        const int w = shot.Window.Width();
        const int h = shot.Window.Height();
        const std::uint32_t edge = Px(GetBuiltInThemeColor(style, TsuiThemeElement::FormBackgroundColor));
        const TPixelBuffer& p = shot.Pixels;
        EXPECT_TRUE(AreaIs(p, {0, h - 1, w - 1, h}, edge, "bottom line"));
        EXPECT_TRUE(AreaIs(p, {w - 1, 0, w, h}, edge, "right line"));
        EXPECT_TRUE(AreaIs(p, {1, 0, w, 1}, edge, "top line"));
        EXPECT_TRUE(AreaIs(p, {0, 1, w - 1, 2}, 0, "black frame, top"));
        EXPECT_TRUE(AreaIs(p, {0, h - 2, w - 1, h - 1}, 0, "black frame, bottom"));
        EXPECT_TRUE(AreaIs(p, {0, 1, 1, h - 1}, 0, "black frame, left"));
        EXPECT_TRUE(AreaIs(p, {w - 2, 1, w - 1, h - 1}, 0, "black frame, right"));
        EXPECT_TRUE(AreaIs(p, {1, 2, w - 2, 3}, 0xFFFFFF, "white frame, top"));
        EXPECT_TRUE(AreaIs(p, {1, h - 3, w - 2, h - 2}, 0xFFFFFF, "white frame, bottom"));
        EXPECT_TRUE(AreaIs(p, {1, 2, 2, h - 2}, 0xFFFFFF, "white frame, left"));
        EXPECT_TRUE(AreaIs(p, {w - 3, 2, w - 2, h - 2}, 0xFFFFFF, "white frame, right"));
    }
}

TEST_F(SkinnedMenuDrawing, WithoutFlatMenuTheToolkitsFrameStays) {
    TsuiPopupMenu menu(form);
    Add(menu.Items(), "One");
    menu.Loaded();
    const TShot shot = ShootPopup(menu);
    const std::uint32_t edge = Px(GetBuiltInThemeColor(DeepBlue, TsuiThemeElement::FormBackgroundColor));
    EXPECT_EQ(CountOf(shot.Pixels, {0, 0, shot.Window.Width(), 1}, edge), 0);
    EXPECT_EQ(CountOf(shot.Pixels, {0, 1, shot.Window.Width(), 2}, 0), 0);
}

// ---- Hooked and unhooked items ------------------------------------------------------------------------

TEST_F(SkinnedMenuDrawing, ItemsAddedAfterLoadingKeepTheToolkitsDefaultDrawing) {
    TsuiPopupMenu menu(form);
    menu.SetUIStyle(BlueGlass);
    TMenuItem* loaded = Add(menu.Items(), "Loaded");
    menu.Loaded();
    TMenuItem* later = Add(menu.Items(), "Later");
    const TShot shot = ShootPopup(menu);
    const TRect a = shot.Of(loaded);
    const TRect b = shot.Of(later);
    EXPECT_EQ(a.Height(), 21);
    EXPECT_NE(b.Height(), 21);
    EXPECT_EQ(shot.Pixels.At(a.Left + 1, a.Top + 1), Px(menu.BarColor()));
    EXPECT_EQ(shot.Pixels.At(a.Right - 2, a.Top + 1), Px(menu.Color()));
    EXPECT_EQ(shot.Pixels.At(b.Left + 1, b.Top + 1), Px(clMenu));
    EXPECT_EQ(shot.Pixels.At(b.Right - 2, b.Top + 1), Px(clMenu));
}

TEST_F(SkinnedMenuDrawing, AnItemOutlivingItsMenuDrawsTheToolkitsWay) {
    TMenuItem* moved = nullptr;
    {
        TsuiPopupMenu first(form);
        first.SetUIStyle(BlueGlass);
        moved = Add(first.Items(), "Moved");
        first.Loaded();
        ASSERT_TRUE(first.Items()->Remove(moved));
    }
    TPopupMenu second(form);
    second.SetOwnerDraw(true);
    ASSERT_TRUE(second.Items()->Add(moved));
    const TShot shot = ShootPopup(second);
    const TRect r = shot.Of(moved);
    EXPECT_EQ(shot.Pixels.At(r.Left + 1, r.Top + 1), Px(clMenu));
}

// ---- Main menus ---------------------------------------------------------------------------------------

TEST_F(SkinnedMenuDrawing, AMainMenusPrivateCheckMarksAreNoImagesOfItsItems) {
    auto* menu = new TsuiMainMenu(form);
    menu->SetUIStyle(DeepBlue);
    TMenuItem* top = Add(menu->Items(), "&File");
    TMenuItem* indexed = Add(top, "Indexed");
    indexed->SetImageIndex(0);
    TMenuItem* checkedIndexed = Add(top, "Checked");
    checkedIndexed->SetImageIndex(0);
    checkedIndexed->SetChecked(true);
    menu->Loaded();

    const TShot without = ShootDropDown(top);
    const TRect i = without.Of(indexed);
    EXPECT_TRUE(
        AreaIs(without.Pixels, {i.Left, i.Top, i.Left + 26, i.Bottom}, Px(menu->BarColor()), "no image"));
    // Checked, with no user list: the check mark, not a pressed box.
    const TRect c = without.Of(checkedIndexed);
    EXPECT_EQ(without.Pixels.At(c.Left + 2, c.Top + 1), Px(menu->BarColor()));
    EXPECT_NE(CountOf(without.Pixels, {c.Left + 4, c.Top + 3, c.Left + 20, c.Top + 19}, Px(menu->BarColor())),
              256);

    TImageList user(16, 16);
    FillImages(user);
    menu->SetImages(&user);
    const TShot with = ShootDropDown(top);
    EXPECT_TRUE(
        AreaIs(with.Pixels, {i.Left + 4, i.Top + 3, i.Left + 20, i.Top + 19}, Px(0x3080E0), "user image"));
    EXPECT_EQ(with.Pixels.At(c.Left + 2, c.Top + 1), 0u) << "the pressed box";
    menu->SetImages(nullptr);
}

TEST_F(SkinnedMenuDrawing, ItemsUseTheMenusOwnFontWhenTheSystemFontIsOff) {
    TsuiPopupMenu menu(form);
    TMenuItem* item = Add(menu.Items(), "Wide letters");
    menu.Loaded();
    const TShot system = ShootPopup(menu);
    menu.SetUseSystemFont(false);
    menu.SetFontName("Tahoma");
    menu.SetFontSize(11);
    const TShot own = ShootPopup(menu);
    const auto background = [&](const TShot& shot) {
        const TRect r = shot.Of(item);
        return [r, &menu](int x, int) { return Px(x < r.Left + 26 ? menu.BarColor() : menu.Color()); };
    };
    const TRect small = InkIn(system.Pixels, system.Of(item), background(system));
    const TRect large = InkIn(own.Pixels, own.Of(item), background(own));
    EXPECT_GT(large.Width(), small.Width());
    EXPECT_GT(large.Height(), small.Height());
}

// ---- A picture for people ------------------------------------------------------------------------------

TEST_F(SkinnedMenuDrawing, ContactSheetOfAnOpenMenuInEveryLook) {
    TImageList images(16, 16);
    FillImages(images);
    std::vector<TShot> shots;
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        TsuiPopupMenu menu(form);
        menu.SetUIStyle(style);
        menu.SetImages(&images);
        TMenuItem* open = Add(menu.Items(), "&Open...");
        open->SetShortCut(ShortCut('O', scCtrl));
        Add(menu.Items(), "-");
        TMenuItem* selected = Add(menu.Items(), "&Selected item");
        Add(menu.Items(), "Disabled item")->SetEnabled(false);
        Add(menu.Items(), "Checked item")->SetChecked(true);
        TMenuItem* withImage = Add(menu.Items(), "Checked with image");
        withImage->SetChecked(true);
        withImage->SetImageIndex(0);
        Add(menu.Items(), "Image only")->SetImageIndex(1);
        TMenuItem* def = Add(menu.Items(), "&Default item");
        def->SetDefault(true);
        def->SetShortCut(ShortCut(VK_F4, scAlt));
        Add(menu.Items(), "-");
        Add(menu.Items(), "E&xit");
        menu.Loaded();
        shots.push_back(ShootPopup(menu, selected));
    }
    int width = 10;
    int height = 0;
    for (const TShot& shot : shots) {
        width += shot.Pixels.Width() + 10;
        height = std::max(height, shot.Pixels.Height() + 20);
    }
    TPixelBuffer sheet(width, height, 0x808080);
    int x = 10;
    for (const TShot& shot : shots) {
        for (int y = 0; y < shot.Pixels.Height(); ++y) {
            for (int sx = 0; sx < shot.Pixels.Width(); ++sx) {
                sheet.Set(x + sx, 10 + y, shot.Pixels.At(sx, y));
            }
        }
        x += shot.Pixels.Width() + 10;
    }
    if (SaveArtifactPng("menus", sheet).empty()) {
        GTEST_SKIP() << "VARNEL_TEST_ARTIFACTS is not set";
    }
}

} // namespace
