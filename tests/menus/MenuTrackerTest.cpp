#include "toolkit/menus/MenuTracker.h"

#include "tests/support/Artifacts.h"
#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/menus/MenuPainter.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string RectText(const TRect& r) {
    std::ostringstream out;
    out << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    return out.str();
}

class MenuLoop : public TToolkitFixture {
protected:
    void SetUp() override {
        owner = windows.Create(0, Bounds(0, 0, 640, 480), WS_POPUP | WS_VISIBLE);
        SetActiveWindow(owner);
    }

    // An item whose click is logged with whether a menu was still open at the time.
    TMenuItem* Add(TMenuItem* parent, const std::string& caption) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) {
            log.push_back("click " + caption + (IsMenuActive() ? " (menu open)" : ""));
        };
        EXPECT_TRUE(parent->Add(item));
        return item;
    }

    static TPoint Centre(const TMenuItem* item) {
        TRect r;
        EXPECT_TRUE(GetOpenMenuItemRect(item, r)) << item->Caption() << " is not on screen";
        return {(r.Left + r.Right) / 2, r.Top + r.Height() / 2};
    }
    void Key(int vk) {
        Backend().KeyDown(vk);
        Backend().KeyUp(vk);
    }
    void ClickAt(TPoint p) {
        InjectMove(p);
        InjectPress(p);
        InjectRelease(p);
    }
    TTrackMenuResult Track(TMenuItem* root, TPoint at, TTrackMenuParams params = {}) {
        params.Position = at;
        return TrackMenu(root, params);
    }
    // The items the owner heard were highlighted, in order.
    std::vector<std::string> Highlighted(const TMenu& menu) {
        std::vector<std::string> out;
        for (const TLoggedMessage& m : windows.Find(WM_MENUSELECT, owner)) {
            if (HIWORD(m.wParam) == 0xFFFF) {
                out.push_back("(closed)");
            } else if (TMenuItem* item = menu.FindItem(LOWORD(m.wParam), fkCommand)) {
                out.push_back(item->Caption());
            }
        }
        return out;
    }

    TTestWindows windows;
    HWND owner = 0;
    TComponent form{nullptr};
    std::vector<std::string> log;
};

// ---- Owner drawing ----------------------------------------------------------------------------------

TEST_F(MenuLoop, OwnerDrawnItemsAreMeasuredThenDrawnWithTheirRectanglesAndStates) {
    TPopupMenu menu(&form);
    menu.SetOwnerDraw(true);
    struct TPlannedItem {
        const char* caption;
        int width;
        int height;
    };
    const TPlannedItem planned[] = {{"A", 100, 20}, {"B", 140, 22}, {"-", 30, 6}, {"C", 90, 18}};
    for (const TPlannedItem& plan : planned) {
        TMenuItem* item = Add(menu.Items(), plan.caption);
        item->OnMeasureItem = [this, plan](TObject* sender, TCanvas* canvas, int& width, int& height) {
            // The size arrives holding the toolkit's own, and the canvas has the menu font.
            EXPECT_GT(width, 0);
            EXPECT_GT(height, 0);
            EXPECT_EQ(canvas->Font()->Name(), "Tahoma");
            EXPECT_EQ(canvas->Font()->Height(), -11);
            log.push_back("measure " + static_cast<TMenuItem*>(sender)->Caption());
            width = plan.width;
            height = plan.height;
        };
    }
    TMenuItem* a = menu.Items()->Items(0);
    TMenuItem* b = menu.Items()->Items(1);
    TMenuItem* c = menu.Items()->Items(3);
    b->SetEnabled(false);
    c->SetChecked(true);
    c->SetDefault(true);
    for (TMenuItem* item : {a, b, menu.Items()->Items(2)}) {
        item->OnDrawItem = [this](TObject* sender, TCanvas* canvas, TRect rect, bool selected) {
            // The canvas comes prepared in the colours of the state.
            EXPECT_EQ(canvas->Brush()->Color(), selected ? clHighlight : clMenu);
            log.push_back("draw " + static_cast<TMenuItem*>(sender)->Caption() + " " + RectText(rect) +
                          (selected ? " selected" : ""));
        };
    }
    c->OnAdvancedDrawItem = [this](TObject*, TCanvas*, TRect rect, TOwnerDrawState state) {
        log.push_back("advanced C " + RectText(rect) + (state.Contains(odSelected) ? " selected" : "") +
                      (state.Contains(odChecked) ? " checked" : "") +
                      (state.Contains(odDefault) ? " default" : "") +
                      (state.Contains(odDisabled) ? " disabled" : ""));
    };

    WhenIdle([&] {
        HWND window = OpenMenuWindows().at(0);
        RECT bounds;
        GetWindowRect(window, &bounds);
        // The widest item sets the width; the frame is 3 pixels all round.
        EXPECT_EQ(bounds, Bounds(50, 60, 146, 3 + 20 + 22 + 6 + 18 + 3));
        EXPECT_EQ(log,
                  (std::vector<std::string>{"measure A", "measure B", "measure -", "measure C",
                                            "draw A 3,3,143,23", "draw B 3,23,143,45", "draw - 3,45,143,51",
                                            "advanced C 3,51,143,69 checked default"}));
        log.clear();
        InjectMove(Centre(a));
    });
    WhenIdle([&] {
        EXPECT_EQ(log, (std::vector<std::string>{"draw A 3,3,143,23 selected"}));
        log.clear();
        // A disabled item is highlighted under the pointer too; the owner draws it as it likes.
        InjectMove(Centre(b));
    });
    WhenIdle([&] {
        EXPECT_EQ(log, (std::vector<std::string>{"draw A 3,3,143,23", "draw B 3,23,143,45 selected"}));
        log.clear();
        InjectMove(Centre(c));
    });
    WhenIdle([&] {
        EXPECT_EQ(log, (std::vector<std::string>{"draw B 3,23,143,45",
                                                 "advanced C 3,51,143,69 selected checked default"}));
        log.clear();
        Key(VK_ESCAPE);
    });
    menu.Popup(50, 60);
    EXPECT_TRUE(log.empty()) << log.front();
    EXPECT_EQ(Backend().PendingSteps(), 0u);
}

TEST_F(MenuLoop, AnItemWithoutHandlersInAnOwnerDrawnMenuGetsTheDefaultDrawing) {
    TPopupMenu menu(&form);
    menu.SetOwnerDraw(true);
    TMenuItem* plain = Add(menu.Items(), "Plain");
    TMenuItem* custom = Add(menu.Items(), "Custom");
    custom->OnDrawItem = [](TObject*, TCanvas* canvas, TRect rect, bool) {
        canvas->Brush()->SetColor(clLime);
        canvas->FillRect(rect);
    };
    WhenIdle([&] {
        HWND window = OpenMenuWindows().at(0);
        const TPixelBuffer& pixels = Presented(window);
        TRect plainRect;
        TRect customRect;
        ASSERT_TRUE(GetOpenMenuItemRect(plain, plainRect));
        ASSERT_TRUE(GetOpenMenuItemRect(custom, customRect));
        RECT w;
        GetWindowRect(window, &w);
        plainRect = plainRect.Offset(-w.Left, -w.Top);
        customRect = customRect.Offset(-w.Left, -w.Top);
        // The default drawing leaves the gutter and the arrow column in the menu colour.
        EXPECT_TRUE(AreaIs(pixels, {plainRect.Left, plainRect.Top, plainRect.Left + 10, plainRect.Bottom},
                           ColorToPixel(clMenu), "plain item"));
        EXPECT_TRUE(AreaIs(pixels, customRect, ColorToPixel(clLime), "custom item"));
        Key(VK_ESCAPE);
    });
    menu.Popup(10, 10);
}

TEST_F(MenuLoop, DrawingOnTheMenuFrameThroughTheScreenShowsAndStays) {
    TPopupMenu menu(&form);
    menu.SetOwnerDraw(true);
    TMenuItem* first = Add(menu.Items(), "First");
    Add(menu.Items(), "Second");
    int framesDrawn = 0;
    first->OnDrawItem = [&](TObject*, TCanvas* canvas, TRect rect, bool selected) {
        // As a flat menu border is drawn: on the screen, in screen coordinates, over the frame.
        const HWND window = MenuWindowFromDC(canvas->Handle());
        ASSERT_NE(window, 0u);
        if (framesDrawn++ == 0) {
            RECT bounds;
            GetWindowRect(window, &bounds);
            HDC screen = GetWindowDC(GetDesktopWindow());
            {
                TCanvas on(screen);
                on.Brush()->SetColor(clRed);
                on.FrameRect(bounds);
            }
            ReleaseDC(GetDesktopWindow(), screen);
        }
        canvas->Brush()->SetColor(selected ? clBlue : clYellow);
        canvas->FillRect(rect);
    };
    const std::uint32_t red = ColorToPixel(clRed);
    auto checkFrame = [&](const char* when) {
        HWND window = OpenMenuWindows().at(0);
        const TPixelBuffer& pixels = Presented(window);
        const int w = pixels.Width();
        const int h = pixels.Height();
        EXPECT_TRUE(AreaIs(pixels, {0, 0, w, 1}, red, when));
        EXPECT_TRUE(AreaIs(pixels, {0, h - 1, w, h}, red, when));
        EXPECT_TRUE(AreaIs(pixels, {0, 0, 1, h}, red, when));
        EXPECT_TRUE(AreaIs(pixels, {w - 1, 0, w, h}, red, when));
    };
    WhenIdle([&] {
        checkFrame("after opening");
        InjectMove(Centre(first));
    });
    WhenIdle([&] {
        // Only the item was painted again; the frame keeps what was drawn on it.
        EXPECT_EQ(framesDrawn, 2);
        checkFrame("after the item repainted");
        const TPixelBuffer& pixels = Presented(OpenMenuWindows().at(0));
        EXPECT_EQ(pixels.At(10, 10), ColorToPixel(clBlue));
        Key(VK_ESCAPE);
    });
    menu.Popup(200, 200);
    EXPECT_EQ(MenuWindowFromDC(nullptr), 0u);
}

// ---- The classic look ------------------------------------------------------------------------------------

TEST_F(MenuLoop, ClassicLookOfASmallMenu) {
    TPopupMenu menu(&form);
    TMenuItem* alpha = Add(menu.Items(), "&Alpha");
    alpha->SetChecked(true);
    TMenuItem* line = Add(menu.Items(), "-");
    TMenuItem* beta = Add(menu.Items(), "Beta");
    Add(beta, "Gamma");

    const std::uint32_t highlight = ColorToPixel(clHighlight);
    const std::uint32_t face = ColorToPixel(clMenu);
    WhenIdle([&] { InjectMove(Centre(alpha)); });
    WhenIdle([&] {
        HWND window = OpenMenuWindows().at(0);
        const TPixelBuffer& pixels = Presented(window);
        RECT w;
        GetWindowRect(window, &w);
        auto local = [&](const TMenuItem* item) {
            TRect r;
            EXPECT_TRUE(GetOpenMenuItemRect(item, r));
            return r.Offset(-w.Left, -w.Top);
        };
        const int width = pixels.Width();
        const int height = pixels.Height();

        // The raised frame: light and white on the top and left, dark grey and black at the
        // bottom and right, then a band of the menu colour.
        EXPECT_EQ(pixels.At(0, 0), ColorToPixel(cl3DLight));
        EXPECT_EQ(pixels.At(1, 1), ColorToPixel(clBtnHighlight));
        EXPECT_EQ(pixels.At(2, 2), face);
        EXPECT_EQ(pixels.At(width - 1, height - 1), ColorToPixel(cl3DDkShadow));
        EXPECT_EQ(pixels.At(width - 2, height - 2), ColorToPixel(clBtnShadow));
        EXPECT_EQ(pixels.At(width - 3, height - 3), face);

        // The highlighted item: a bar of the highlight colour, the check mark in the highlight
        // text colour in the middle of the gutter.
        const TRect a = local(alpha);
        EXPECT_EQ(a.Left, kMenuFrameWidth);
        EXPECT_EQ(a.Right, width - kMenuFrameWidth);
        EXPECT_TRUE(
            AreaIs(pixels, {a.Right - kMenuArrowColumn + 1, a.Top, a.Right, a.Bottom}, highlight, "bar"));
        const int cx = a.Left + 23 / 2;
        const int cy = a.Top + a.Height() / 2;
        EXPECT_TRUE(
            PixelsMatchIn(pixels, {cx - 3, cy - 3, cx + 4, cy + 4},
                          {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."},
                          {{'#', ColorToPixel(clHighlightText)}, {'.', highlight}}, "check mark"));

        // The separator: an engraved line across the middle of its eight pixels.
        const TRect s = local(line);
        EXPECT_EQ(s.Height(), kMenuSeparatorHeight);
        EXPECT_TRUE(AreaIs(pixels, {s.Left + 1, s.Top + 3, s.Right - 1, s.Top + 4}, ColorToPixel(clBtnShadow),
                           "separator shadow"));
        EXPECT_TRUE(AreaIs(pixels, {s.Left + 1, s.Top + 4, s.Right - 1, s.Top + 5},
                           ColorToPixel(clBtnHighlight), "separator light"));
        EXPECT_TRUE(AreaIs(pixels, {s.Left, s.Top, s.Right, s.Top + 3}, face, "above the separator"));

        // The submenu arrow in the menu text colour at the right end.
        const TRect b = local(beta);
        const int ax = b.Right - kMenuArrowColumn / 2 - 2;
        const int ay = b.Top + b.Height() / 2;
        EXPECT_TRUE(PixelsMatchIn(pixels, {ax - 1, ay - 3, ax + 5, ay + 4},
                                  {".#....", ".##...", ".###..", ".####.", ".###..", ".##...", ".#...."},
                                  {{'#', ColorToPixel(clMenuText)}, {'.', face}}, "arrow"));
        SaveArtifactPng("classic-menu", pixels);
        Key(VK_ESCAPE);
    });
    menu.Popup(30, 40);
}

// ---- Keyboard -----------------------------------------------------------------------------------------

TEST_F(MenuLoop, ArrowsWrapSkipSeparatorsAndWalkSubmenus) {
    TPopupMenu menu(&form);
    TMenuItem* file = Add(menu.Items(), "&File");
    TMenuItem* fresh = Add(file, "&New");
    Add(file, "&Open");
    Add(menu.Items(), "-");
    TMenuItem* edit = Add(menu.Items(), "&Edit");
    edit->SetEnabled(false);
    Add(menu.Items(), "E&xit");

    TTrackMenuResult result;
    WhenIdle([&] {
        for (int vk : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_UP}) {
            Key(vk);
        }
    });
    WhenIdle([&] {
        // Disabled items can be highlighted; separators cannot; both ends wrap.
        EXPECT_EQ(Highlighted(menu), (std::vector<std::string>{"&File", "&Edit", "E&xit", "&File", "E&xit"}));
        Key(VK_HOME);
        Key(VK_RIGHT);
    });
    WhenIdle([&] {
        ASSERT_EQ(OpenMenuWindows().size(), 2u);
        EXPECT_EQ(Highlighted(menu).back(), "&New")
            << "a submenu opened from the keyboard starts on its first item";
        TRect newRect;
        TRect fileRect;
        ASSERT_TRUE(GetOpenMenuItemRect(fresh, newRect));
        ASSERT_TRUE(GetOpenMenuItemRect(file, fileRect));
        EXPECT_EQ(newRect.Top, fileRect.Top) << "the submenu's first item is level with its parent item";
        Key(VK_DOWN);
        Key(VK_LEFT);
    });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u);
        Key(VK_RIGHT);
        Key(VK_ESCAPE);
    });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u) << "Escape closes one level";
        Key(VK_ESCAPE);
    });
    result = Track(menu.Items(), {100, 100});
    EXPECT_EQ(result.Reason, TMenuCloseReason::Escaped);
    // Only the submenu's item heard of its submenu opening, twice; no command ran.
    EXPECT_EQ(log, (std::vector<std::string>{"click &File (menu open)", "click &File (menu open)"}));
    EXPECT_EQ(Highlighted(menu).back(), "(closed)");
    EXPECT_EQ(windows.Messages(owner, {WM_ENTERMENULOOP, WM_EXITMENULOOP}),
              (std::vector<UINT>{WM_ENTERMENULOOP, WM_EXITMENULOOP}));
}

TEST_F(MenuLoop, EnterChoosesOnlyEnabledCommands) {
    TPopupMenu menu(&form);
    TMenuItem* disabled = Add(menu.Items(), "Disabled");
    disabled->SetEnabled(false);
    Add(menu.Items(), "Enabled");
    WhenIdle([&] {
        Key(VK_DOWN);
        Key(VK_RETURN);
    });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u) << "Enter on a disabled item does nothing";
        Key(VK_DOWN);
        Key(VK_RETURN);
    });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Chosen);
    EXPECT_EQ(log, (std::vector<std::string>{"click Enabled"}));
}

TEST_F(MenuLoop, AccessKeysChooseTheOnlyMatchOrStepThroughSeveral) {
    TPopupMenu menu(&form);
    TMenuItem* file = Add(menu.Items(), "&File");
    Add(file, "&Open");
    Add(menu.Items(), "&Copy");
    Add(menu.Items(), "&Cut");
    Add(menu.Items(), "Print"); // automatic: P

    WhenIdle([&] { Backend().Text("p"); });
    Track(menu.Items(), {100, 100});
    EXPECT_EQ(log, (std::vector<std::string>{"click Print"}));
    log.clear();

    WhenIdle([&] {
        Backend().Text("c");
        Backend().Text("C");
        Backend().Text("c");
    });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u);
        const int beeps = Backend().BeepCount();
        Backend().Text("z");
        WhenIdle([&, beeps] {
            EXPECT_EQ(Backend().BeepCount(), beeps + 1) << "a key no item has beeps";
            Key(VK_RETURN);
        });
    });
    Track(menu.Items(), {100, 100});
    EXPECT_EQ(log, (std::vector<std::string>{"click &Copy"}));
    log.clear();

    WhenIdle([&] { Backend().Text("f"); });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 2u);
        Backend().Text("o");
    });
    Track(menu.Items(), {100, 100});
    EXPECT_EQ(log, (std::vector<std::string>{"click &File (menu open)", "click &Open"}))
        << "a submenu's item hears of the submenu opening, during the loop";
}

TEST_F(MenuLoop, AltClosesTheMenu) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    WhenIdle([&] { Key(VK_MENU); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled);
}

// ---- Pointer ------------------------------------------------------------------------------------------

TEST_F(MenuLoop, SubmenusOpenAndCloseAfterTheHoverDelayOrAtOnceOnAPress) {
    TPopupMenu menu(&form);
    TMenuItem* file = Add(menu.Items(), "File");
    TMenuItem* fresh = Add(file, "New");
    TMenuItem* open = Add(file, "Open");
    TMenuItem* edit = Add(menu.Items(), "Edit");
    TMenuItem* undo = Add(edit, "Undo");
    Add(menu.Items(), "Exit");
    TRect probe;

    WhenIdle([&] { InjectMove(Centre(file)); });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u);
        Advance(399);
    });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u);
        Advance(1);
    });
    WhenIdle([&] {
        ASSERT_EQ(OpenMenuWindows().size(), 2u);
        RECT first;
        RECT second;
        GetWindowRect(OpenMenuWindows()[0], &first);
        GetWindowRect(OpenMenuWindows()[1], &second);
        TRect fileRect;
        ASSERT_TRUE(GetOpenMenuItemRect(file, fileRect));
        EXPECT_EQ(second.Left, first.Right - kMenuFrameWidth);
        EXPECT_EQ(second.Top, fileRect.Top - kMenuFrameWidth);
        // On the way into the submenu the pointer crosses another item...
        InjectMove(Centre(edit));
        Advance(200);
    });
    WhenIdle([&] {
        // ...and reaching the submenu before the delay keeps it.
        InjectMove(Centre(fresh));
        Advance(400);
    });
    WhenIdle([&] {
        EXPECT_TRUE(GetOpenMenuItemRect(fresh, probe));
        EXPECT_EQ(Highlighted(menu).back(), "New");
        InjectMove(Centre(edit));
        Advance(400);
    });
    WhenIdle([&] {
        EXPECT_FALSE(GetOpenMenuItemRect(fresh, probe));
        EXPECT_TRUE(GetOpenMenuItemRect(undo, probe));
        InjectMove(Centre(file));
        InjectPress(Centre(file));
    });
    WhenIdle([&] {
        EXPECT_TRUE(GetOpenMenuItemRect(open, probe)) << "a press opens a submenu without waiting";
        InjectRelease(Centre(file)); // releasing on a submenu's item chooses nothing
        ClickAt(Centre(open));
    });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Chosen);
    EXPECT_EQ(log, (std::vector<std::string>{"click File (menu open)", "click Edit (menu open)",
                                             "click File (menu open)", "click Open"}));
}

TEST_F(MenuLoop, ReleasesChooseOnlyEnabledCommandsWithTheButtonsThatMayChoose) {
    TPopupMenu menu(&form);
    TMenuItem* disabled = Add(menu.Items(), "Disabled");
    disabled->SetEnabled(false);
    TMenuItem* line = Add(menu.Items(), "-");
    TMenuItem* go = Add(menu.Items(), "Go");
    Add(menu.Items(), "Last");
    TTrackMenuParams leftOnly;
    leftOnly.LeftButtonOnly = true;
    WhenIdle([&] {
        ClickAt(Centre(disabled));
        ClickAt(Centre(line));
        // The right button does not choose here.
        InjectMove(Centre(go));
        Backend().Press(Centre(go), TMouseButton::Right);
        Backend().Release(Centre(go), TMouseButton::Right);
    });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u);
        EXPECT_TRUE(log.empty());
        ClickAt(Centre(go));
    });
    EXPECT_EQ(Track(menu.Items(), {100, 100}, leftOnly).Reason, TMenuCloseReason::Chosen);
    EXPECT_EQ(log, (std::vector<std::string>{"click Go"}));
    log.clear();

    WhenIdle([&] {
        InjectMove(Centre(go));
        Backend().Press(Centre(go), TMouseButton::Right);
        Backend().Release(Centre(go), TMouseButton::Right);
    });
    Track(menu.Items(), {100, 100});
    EXPECT_EQ(log, (std::vector<std::string>{"click Go"}));
}

TEST_F(MenuLoop, APressOutsideClosesTheMenuAndGoesOnToTheWindowUnderIt) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    WhenIdle([&] { ClickAt({400, 300}); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::ClickedOutside);
    EXPECT_TRUE(OpenMenuWindows().empty());
    Pump();
    const std::vector<TLoggedMessage> downs = windows.Find(WM_LBUTTONDOWN, owner);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(LParamToPoint(downs[0].lParam), (TPoint{400, 300}));
    EXPECT_EQ(windows.Messages(owner, {WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_TRUE(log.empty());
}

TEST_F(MenuLoop, APressInTheExclusionRectangleIsConsumed) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    TTrackMenuParams params;
    params.Exclude = Bounds(10, 10, 60, 20);
    WhenIdle([&] { ClickAt({20, 15}); });
    EXPECT_EQ(Track(menu.Items(), {10, 30}, params).Reason, TMenuCloseReason::ClickedExcluded);
    Pump();
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, owner), 0);
}

// A menu dropped from a control box: a second click on the box closes the menu and reaches the
// box, as a double click when it comes within the double-click time of the first press and
// nothing was clicked in between.
TEST_F(MenuLoop, APassedOnPressInTheExclusionRectangleCompletesADoubleClick) {
    const HWND box = windows.Create(owner, Bounds(0, 0, 20, 20), WS_CHILD | WS_VISIBLE, 0,
                                    TTestWindows::kDoubleClickClass);
    TPopupMenu menu(&form);
    Add(menu.Items(), "Restore");
    Add(menu.Items(), "-");
    Add(menu.Items(), "Close");
    std::vector<TMenuCloseReason> reasons;
    bool opened = false;
    windows.On(box, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONUP && !opened) {
            opened = true;
            menu.OnClose = [&](TObject*) { reasons.push_back(TMenuCloseReason::ClickedExcluded); };
            menu.PopupExcluding(0, 20, Bounds(0, 0, 20, 20));
            return 0;
        }
        return std::nullopt;
    });
    struct TCase {
        const char* name;
        std::int64_t wait;   // between the menu opening and the second click
        bool clickMenuFirst; // a press on the menu's separator before the second click
        UINT expected;       // what the box receives for the second press
    };
    const TCase cases[] = {
        {"soon", 200, false, WM_LBUTTONDBLCLK},
        {"too late", 600, false, WM_LBUTTONDOWN},
        {"after a press on the menu", 100, true, WM_LBUTTONDOWN},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        opened = false;
        windows.ClearLog();
        reasons.clear();
        WhenIdle([&] {
            EXPECT_EQ(OpenMenuWindows().size(), 1u);
            if (c.clickMenuFirst) {
                const TPoint line = Centre(menu.Items()->Items(1));
                InjectPress(line);
                InjectRelease(line);
            }
            Advance(c.wait);
        });
        WhenIdle([&] {
            EXPECT_TRUE(IsMenuActive());
            ClickAt({10, 10});
        });
        Click({10, 10});
        Pump();
        EXPECT_FALSE(IsMenuActive());
        EXPECT_EQ(reasons.size(), 1u);
        EXPECT_EQ(windows.Messages(box, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
                  (std::vector<UINT>{WM_LBUTTONDOWN, c.expected}));
        Advance(1000);
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(MenuLoop, APressWhereNoWindowIsClosesTheMenu) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    WhenIdle([&] { ClickAt({1000, 900}); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::ClickedOutside);
    Pump();
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN), 0);
}

// ---- Popup menus ------------------------------------------------------------------------------------------

TEST_F(MenuLoop, PopupFiresOnPopupFirstAndTheChosenItemsClickAfterTheMenuHasGone) {
    TPopupMenu menu(&form);
    menu.SetOwnerDraw(true);
    TMenuItem* run = Add(menu.Items(), "Run");
    TMenuItem* stop = Add(menu.Items(), "Stop");
    HWND menuWindow = 0;
    for (TMenuItem* item : {run, stop}) {
        item->OnMeasureItem = [this](TObject* sender, TCanvas*, int&, int&) {
            log.push_back("measure " + static_cast<TMenuItem*>(sender)->Caption());
        };
        item->OnAdvancedDrawItem = [this](TObject* sender, TCanvas*, TRect, TOwnerDrawState state) {
            log.push_back("draw " + static_cast<TMenuItem*>(sender)->Caption() +
                          (state.Contains(odDisabled) ? " disabled" : ""));
        };
    }
    menu.OnPopup = [&](TObject* sender) {
        EXPECT_EQ(sender, &menu);
        log.push_back("popup");
        stop->SetEnabled(false);
    };
    menu.OnClose = [&](TObject*) { log.push_back("close"); };
    run->OnClick = [&](TObject*) {
        log.push_back("click Run");
        EXPECT_FALSE(IsMenuActive());
        EXPECT_FALSE(IsWindow(menuWindow)) << "the menu window is gone before the click";
        EXPECT_EQ(windows.Count(WM_EXITMENULOOP, owner), 1);
    };
    WhenIdle([&] {
        menuWindow = OpenMenuWindows().at(0);
        RECT bounds;
        GetWindowRect(menuWindow, &bounds);
        EXPECT_EQ(bounds.TopLeft(), (TPoint{300, 200}));
        log.push_back("shown");
        ClickAt(Centre(run));
    });
    menu.Popup(300, 200);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "measure Run", "measure Stop", "draw Run",
                                             "draw Stop disabled", "shown", "close", "click Run"}));
}

TEST_F(MenuLoop, APopupNearTheScreenEdgeOpensTowardsTheScreen) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    WhenIdle([&] {
        RECT bounds;
        GetWindowRect(OpenMenuWindows().at(0), &bounds);
        EXPECT_EQ(bounds.Right, 1270);
        EXPECT_EQ(bounds.Bottom, 1015);
        Key(VK_ESCAPE);
    });
    menu.Popup(1270, 1015);
}

TEST_F(MenuLoop, AMenuFreedWhileOpenClosesSafely) {
    auto* menu = new TPopupMenu(&form);
    Add(menu->Items(), "One");
    WhenIdle([&] { delete menu; });
    menu->Popup(100, 100); // returns, with nothing of the freed menu touched (sanitizer build)
    EXPECT_FALSE(IsMenuActive());
}

TEST_F(MenuLoop, AChosenItemMayFreeItsMenu) {
    auto* menu = new TPopupMenu(&form);
    TMenuItem* close = Add(menu->Items(), "Close");
    close->OnClick = [&](TObject*) { delete menu; };
    WhenIdle([&] { ClickAt(Centre(close)); });
    menu->Popup(100, 100);
    EXPECT_FALSE(IsMenuActive());
}

// ---- Changes and interruptions
// -----------------------------------------------------------------------------

TEST_F(MenuLoop, ItemsChangedWhileOpenAreShownAsTheyAreNow) {
    TPopupMenu menu(&form);
    TMenuItem* a = Add(menu.Items(), "A");
    TMenuItem* b = Add(menu.Items(), "B");
    TMenuItem* b1 = Add(b, "B1");
    TMenuItem* c = Add(menu.Items(), "C");
    int height = 0;
    WhenIdle([&] {
        RECT bounds;
        GetWindowRect(OpenMenuWindows().at(0), &bounds);
        height = bounds.Height();
        delete c; // as a timer handler might
    });
    WhenIdle([&] {
        RECT bounds;
        GetWindowRect(OpenMenuWindows().at(0), &bounds);
        TRect r;
        EXPECT_TRUE(GetOpenMenuItemRect(a, r));
        EXPECT_EQ(bounds.Height(), height - r.Height());
        Key(VK_DOWN);
        Key(VK_DOWN);
        Key(VK_RIGHT);
    });
    WhenIdle([&] {
        TRect r;
        EXPECT_TRUE(GetOpenMenuItemRect(b1, r));
        b->SetEnabled(false); // its submenu can no longer be open
    });
    WhenIdle([&] {
        EXPECT_EQ(OpenMenuWindows().size(), 1u);
        delete b;
        delete a; // nothing left to show
    });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled);
}

TEST_F(MenuLoop, TheMenuClosesWhenTheProgramIsToldToQuitAndLeavesTheQuitForTheOuterLoop) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    WhenIdle([&] { PostQuitMessage(3); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MenuLoop, LosingTheOwnerTheActivationOrThePointerClosesTheMenu) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    HWND other = windows.Create(0, Bounds(700, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    SetActiveWindow(owner);

    WhenIdle([&] { SetCapture(other); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled);
    ReleaseCapture();

    WhenIdle([&] { SetActiveWindow(other); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled);

    SetActiveWindow(owner);
    WhenIdle([&] { EndMenu(); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled);

    WhenIdle([&] { DestroyWindow(owner); });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled);
    EXPECT_TRUE(OpenMenuWindows().empty());
}

TEST_F(MenuLoop, OnlyOneMenuIsOpenAtATime) {
    TPopupMenu menu(&form);
    Add(menu.Items(), "Item");
    TPopupMenu second(&form);
    Add(second.Items(), "Other");
    WhenIdle([&] {
        EXPECT_EQ(Track(second.Items(), {300, 300}).Reason, TMenuCloseReason::Cancelled);
        EXPECT_EQ(OpenMenuWindows().size(), 1u);
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(Track(menu.Items(), {100, 100}).Reason, TMenuCloseReason::Escaped);
    TPopupMenu empty(&form);
    EXPECT_EQ(Track(empty.Items(), {100, 100}).Reason, TMenuCloseReason::Cancelled) << "nothing to show";
}

// ---- Menu bars
// ---------------------------------------------------------------------------------------------

TEST_F(MenuLoop, ABarMovesBetweenItsMenusWithTheArrowKeys) {
    TMainMenu menu(&form);
    TMenuItem* file = Add(menu.Items(), "File");
    TMenuItem* fresh = Add(file, "New");
    Add(fresh, "Blank");
    Add(file, "Exit");
    std::vector<TMenuBarDirection> asked;
    bool barAnswers = true;
    TTrackMenuParams params;
    params.SelectFirst = true;
    params.OnBarKey = [&](TMenuBarDirection direction) {
        asked.push_back(direction);
        return barAnswers;
    };

    WhenIdle([&] { Key(VK_LEFT); });
    EXPECT_EQ(Track(file, {0, 20}, params).Reason, TMenuCloseReason::MovedPrevious);

    WhenIdle([&] {
        Key(VK_RIGHT); // New has a submenu: it opens instead
        Key(VK_RIGHT); // Blank has none: the bar moves on
    });
    EXPECT_EQ(Track(file, {0, 20}, params).Reason, TMenuCloseReason::MovedNext);
    EXPECT_EQ(asked, (std::vector<TMenuBarDirection>{TMenuBarDirection::Previous, TMenuBarDirection::Next}));

    barAnswers = false;
    WhenIdle([&] {
        Key(VK_LEFT);
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(Track(file, {0, 20}, params).Reason, TMenuCloseReason::Escaped);
}

TEST_F(MenuLoop, ABarHotTracksToAnotherItemUnderThePointer) {
    TMainMenu menu(&form);
    TMenuItem* file = Add(menu.Items(), "File");
    Add(file, "Exit");
    std::vector<TPoint> asked;
    TTrackMenuParams params;
    params.Exclude = Bounds(0, 0, 40, 20);
    params.OnBarPointer = [&](TPoint p) {
        asked.push_back(p);
        return p.Y < 20 && p.X >= 40; // over the bar, past the button that dropped this menu
    };
    // One move a step: the window system keeps only the last of moves queued together.
    WhenIdle([&] { InjectMove({300, 300}); });
    WhenIdle([&] { InjectMove({20, 10}); });
    WhenIdle([&] { InjectMove({60, 10}); });
    EXPECT_EQ(Track(file, {0, 20}, params).Reason, TMenuCloseReason::PointerSwitched);
    EXPECT_EQ(asked, (std::vector<TPoint>{{300, 300}, {20, 10}, {60, 10}}));
    EXPECT_EQ(log, (std::vector<std::string>{"click File (menu open)"}));
}

// ---- Placement
// -----------------------------------------------------------------------------------------------

TEST(MenuPlacement, MenusStayOnTheScreenAndAwayFromWhatDroppedThem) {
    const TRect screen{0, 0, 1280, 1024};
    const TSize size{100, 200};
    EXPECT_EQ(PlaceMenu(size, {10, 20}, paLeft, {}, screen), Bounds(10, 20, 100, 200));
    EXPECT_EQ(PlaceMenu(size, {300, 20}, paRight, {}, screen), Bounds(200, 20, 100, 200));
    EXPECT_EQ(PlaceMenu(size, {300, 20}, paCenter, {}, screen), Bounds(250, 20, 100, 200));
    // Too near the right: the menu opens to the left of the point; a right-aligned one near
    // the left edge opens to the right.
    EXPECT_EQ(PlaceMenu(size, {1250, 20}, paLeft, {}, screen), Bounds(1150, 20, 100, 200));
    EXPECT_EQ(PlaceMenu(size, {30, 20}, paRight, {}, screen), Bounds(30, 20, 100, 200));
    // Too near the bottom: above the point, or above the button that dropped it.
    EXPECT_EQ(PlaceMenu(size, {10, 900}, paLeft, {}, screen), Bounds(10, 700, 100, 200));
    EXPECT_EQ(PlaceMenu(size, {10, 900}, paLeft, Bounds(10, 880, 40, 20), screen), Bounds(10, 680, 100, 200));
    // Larger than the screen: as much as fits, from the screen's corner.
    EXPECT_EQ(PlaceMenu({2000, 3000}, {500, 500}, paLeft, {}, screen), screen);

    const TRect parent = Bounds(100, 100, 120, 300);
    const TRect item = Bounds(103, 160, 114, 20);
    EXPECT_EQ(PlaceSubmenu(size, parent, item, screen), Bounds(217, 157, 100, 200));
    EXPECT_EQ(PlaceSubmenu(size, Bounds(1150, 100, 120, 300), item, screen), Bounds(1053, 157, 100, 200));
    EXPECT_EQ(PlaceSubmenu(size, parent, Bounds(103, 950, 114, 20), screen), Bounds(217, 824, 100, 200));
}

} // namespace
