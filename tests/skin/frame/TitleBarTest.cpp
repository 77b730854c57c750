#include "skin/core/SUIMgr.h"
#include "tests/skin/frame/FrameFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/menus/MenuTracker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class TitleBar : public TFrameFixture {
protected:
    TsuiTitleBarButton* ButtonOfType(TsuiTitleBarBtnType type) const {
        TsuiTitleBarButtons* buttons = skin->TitleBar()->Buttons();
        for (int i = 0; i < buttons->Count(); ++i) {
            if (buttons->Items(i)->ButtonType() == type) {
                return buttons->Items(i);
            }
        }
        return nullptr;
    }
    // The screen point at the middle of a button of the bar.
    TPoint ButtonCentre(TsuiTitleBarBtnType type) const {
        const TsuiTitleBarLayout layout = skin->TitleBar()->Layout();
        for (const auto& place : layout.Buttons) {
            if (skin->TitleBar()->Buttons()->Items(place.Index)->ButtonType() == type) {
                return OnBar(skin, place.Rect.Left + place.Rect.Width() / 2,
                             place.Rect.Top + place.Rect.Height() / 2);
            }
        }
        ADD_FAILURE() << "no such button shown";
        return {};
    }
    // Whether the window shows picture at the button's place.
    ::testing::AssertionResult Shows(TsuiTitleBarBtnType type, const TPicture* picture) {
        const TsuiTitleBarLayout layout = skin->TitleBar()->Layout();
        for (const auto& place : layout.Buttons) {
            if (skin->TitleBar()->Buttons()->Items(place.Index)->ButtonType() != type) {
                continue;
            }
            const auto* bitmap = dynamic_cast<const TBitmap*>(picture->Graphic());
            for (int y = 0; y < bitmap->Height(); ++y) {
                for (int x = 0; x < bitmap->Width(); ++x) {
                    if (PixelAt(skin->TitleBar(), place.Rect.Left + x, place.Rect.Top + y) !=
                        bitmap->Pixels().At(x, y)) {
                        return ::testing::AssertionFailure() << "differs at " << x << ", " << y;
                    }
                }
            }
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "no such button shown";
    }

    TsuiForm* skin = nullptr;
};

TEST(TitleBarCaption, ACaptionThatDoesNotFitEndsInDotsAndAnEmptyOneIsDrawnWhenNothingFits) {
    // Ten pixels a character, whatever it is.
    auto measure = [](std::string_view s) {
        int chars = 0;
        for (unsigned char c : s) {
            chars += (c & 0xC0) != 0x80;
        }
        return 10 * chars;
    };
    EXPECT_EQ(FitCaption("Varnel", 60, measure), "Varnel");
    EXPECT_EQ(FitCaption("Varnel", 59, measure), "Va...");
    EXPECT_EQ(FitCaption("Varnel", 40, measure), "V...");
    EXPECT_EQ(FitCaption("Varnel", 30, measure), "...");
    EXPECT_EQ(FitCaption("Varnel", 29, measure), "");
    EXPECT_EQ(FitCaption("Varnel", -5, measure), "");
    // A character is a whole UTF-8 sequence: no half character is left before the dots.
    EXPECT_EQ(FitCaption("Grüße aus", 70, measure), "Grüß...");
    EXPECT_EQ(FitCaption("", 0, measure), "");
}

TEST_F(TitleBar, ButtonsAndCaptionLieWhereEachLookPutsThem) {
    struct TExpected {
        TsuiUIStyle Look;
        int Height; // of the bar
        int Close, Max, Min, Top, Box, Caption;
    };
    const TExpected looks[] = {{MacOS, 23, 461, 443, 425, 4, 3, 25},
                               {WinXP, 29, 457, 435, 413, 5, 2, 28},
                               {DeepBlue, 32, 461, 441, 421, 2, 0, 24},
                               {Protein, 23, 461, 441, 421, 2, 0, 24},
                               {BlueGlass, 33, 458, 438, 418, 6, 4, 28}};
    for (const TExpected& e : looks) {
        SCOPED_TRACE(kUIStyleNames[e.Look]);
        skin = MakeSkinnedHost(e.Look);
        TsuiTitleBar* bar = skin->TitleBar();
        ASSERT_EQ(bar->Width(), 480);
        EXPECT_EQ(bar->Height(), e.Height);
        const TsuiTitleBarLayout layout = bar->Layout();
        ASSERT_EQ(layout.Buttons.size(), 4u);
        auto left = [&](TsuiTitleBarBtnType type) {
            for (const auto& place : layout.Buttons) {
                if (bar->Buttons()->Items(place.Index)->ButtonType() == type) {
                    EXPECT_EQ(place.Rect.Top, e.Top);
                    return place.Rect.Left;
                }
            }
            return -1;
        };
        EXPECT_EQ(left(suiClose), e.Close);
        EXPECT_EQ(left(suiMax), e.Max);
        EXPECT_EQ(left(suiMin), e.Min);
        EXPECT_EQ(left(suiControlBox), e.Box);
        EXPECT_EQ(layout.CaptionLeft, e.Caption);
        EXPECT_EQ(layout.CaptionRight, e.Min);
        delete host;
    }
}

TEST_F(TitleBar, HiddenButtonsLeaveTheirPlaceAndTheIntervalSpacesTheRow) {
    skin = MakeSkinnedHost(MacOS);
    TsuiTitleBar* bar = skin->TitleBar();
    ButtonOfType(suiMax)->SetVisible(false);
    ButtonOfType(suiControlBox)->SetVisible(false);
    bar->SetButtonInterval(4);
    const TsuiTitleBarLayout layout = bar->Layout();
    ASSERT_EQ(layout.Buttons.size(), 2u);
    EXPECT_EQ(layout.Buttons[0].Rect.Left, 479 - 17 - 4 - 1);
    EXPECT_EQ(layout.Buttons[1].Rect.Left, 479 - 2 * (17 + 4 + 1));
    EXPECT_EQ(layout.ControlBox, -1);
    EXPECT_EQ(layout.CaptionLeft, 3 + 0) << "no control box: the caption starts at the left offset";
    bar->SetLeftBtnXOffset(0);
    EXPECT_EQ(bar->Layout().CaptionLeft, 6);
    // The hot button is the one whose place holds the point, edges included.
    EXPECT_EQ(TitleBarButtonAt(layout, {layout.Buttons[0].Rect.Right, 4}), layout.Buttons[0].Index);
    EXPECT_EQ(TitleBarButtonAt(layout, {layout.Buttons[0].Rect.Right + 1, 4}), -1);
}

TEST_F(TitleBar, TheCaptionOfAnInactiveWindowIsDrawnInTheInactiveCaptionColour) {
    skin = MakeSkinnedHost(DeepBlue);
    ShowForm(host);
    const std::uint32_t active = ColorToPixel(skin->TitleBar()->Font()->Color());
    const std::uint32_t inactive = ColorToPixel(clInactiveCaption);
    auto count = [&](std::uint32_t pixel) {
        int n = 0;
        const TsuiTitleBarLayout layout = skin->TitleBar()->Layout();
        for (int y = 0; y < skin->TitleBar()->Height(); ++y) {
            for (int x = layout.CaptionLeft; x < layout.CaptionRight; ++x) {
                n += PixelAt(skin->TitleBar(), x, y) == pixel;
            }
        }
        return n;
    };
    EXPECT_GT(count(active), 20);
    EXPECT_EQ(count(inactive), 0);
    skin->TitleBar()->SetFormActive(false);
    Pump();
    EXPECT_EQ(count(active), 0);
    EXPECT_GT(count(inactive), 20);
    skin->TitleBar()->SetFormActive(true);
    Pump();
    EXPECT_GT(count(active), 20);
}

TEST_F(TitleBar, DraggingTheCaptionMovesTheWindowByThePointersWayButNotWhileMaximised) {
    skin = MakeSkinnedHost(MacOS, bsSingle, true);
    ShowForm(host);
    const TPoint start = OnBar(skin, 200, 10);
    const TPoint origin = host->BoundsRect().TopLeft();
    std::vector<TPoint> seen;
    MoveTo(start);
    InjectPress(start);
    // Each step of the drag finds the window where the pointer's way so far puts it.
    WhenIdle([&] { InjectMove({start.X + 1, start.Y + 1}); });
    WhenIdle([&] {
        seen.push_back(host->BoundsRect().TopLeft());
        InjectMove({start.X + 31, start.Y + 21});
    });
    WhenIdle([&] {
        seen.push_back(host->BoundsRect().TopLeft());
        InjectRelease({start.X + 31, start.Y + 21});
    });
    Pump();
    EXPECT_THAT(seen, ElementsAre(TPoint{origin.X + 1, origin.Y + 1}, TPoint{origin.X + 31, origin.Y + 21}));
    EXPECT_EQ(host->BoundsRect().TopLeft(), (TPoint{origin.X + 31, origin.Y + 21}));
    EXPECT_EQ(host->Width(), 482);

    host->SetWindowState(wsMaximized);
    Pump();
    const TRect maximized = host->BoundsRect();
    const TPoint on = OnBar(skin, 200, 10);
    MoveTo(on);
    Press(on);
    MoveTo({on.X + 40, on.Y + 40});
    Release({on.X + 40, on.Y + 40});
    EXPECT_EQ(host->BoundsRect(), maximized);
}

TEST_F(TitleBar, DoubleClickingTheCaptionMaximisesAndRestoresEvenWithTheMaximiseButtonHidden) {
    skin = MakeSkinnedHost(MacOS, bsSingle, true);
    ShowForm(host);
    const TRect designed = host->BoundsRect();
    ButtonOfType(suiMax)->SetVisible(false);
    const TPoint caption = OnBar(skin, 200, 10);
    Click(caption);
    Click(caption);
    EXPECT_EQ(host->WindowState(), wsMaximized);
    TRect area;
    GetWorkAreaRect(area);
    EXPECT_EQ(host->BoundsRect(), area);
    Advance(1000);
    const TPoint again = OnBar(skin, 200, 10);
    Click(again);
    Click(again);
    EXPECT_EQ(host->WindowState(), wsNormal);
    EXPECT_EQ(host->BoundsRect(), designed);
}

TEST_F(TitleBar, TheControlBoxOpensTheSystemMenuBelowTheBarAndADoubleClickOnItCloses) {
    skin = MakeSkinnedHost(MacOS);
    ShowForm(host);
    TsuiTitleBar* bar = skin->TitleBar();
    // Without a minimise button (and with a hidden maximise button) the menu says so.
    bar->Buttons()->Delete(ButtonOfType(suiMin)->Index());
    ButtonOfType(suiMax)->SetVisible(false);
    const TPoint box = ButtonCentre(suiControlBox);
    TRect opened;
    std::vector<bool> enabled;
    DoWhenIdle([&] {
        const std::vector<HWND> windows = OpenMenuWindows();
        ASSERT_EQ(windows.size(), 1u);
        RECT r;
        ::GetWindowRect(windows.front(), &r);
        opened = r;
        for (int i = 0; i < bar->SystemMenu()->Items()->Count(); ++i) {
            enabled.push_back(bar->SystemMenu()->Items()->Items(i)->Enabled());
        }
        EndMenu();
    });
    Click(box);
    EXPECT_EQ(opened.TopLeft(), bar->ClientToScreen({0, bar->Height()}));
    EXPECT_THAT(enabled, ElementsAre(false, true, true, true));
    EXPECT_TRUE(host->Visible());

    // The second click of a double click on the box goes past the open menu and closes.
    Advance(1000);
    DoWhenIdle([&] {
        InjectPress(box);
        InjectRelease(box);
    });
    Click(box);
    EXPECT_FALSE(IsMenuActive());
    EXPECT_FALSE(host->Visible());
}

TEST_F(TitleBar, AButtonActsOnlyWhenReleasedOverTheButtonItWasPressedOn) {
    skin = MakeSkinnedHost(MacOS, bsSingle, true);
    ShowForm(host);
    const TPoint min = ButtonCentre(suiMin);
    const TPoint close = ButtonCentre(suiClose);
    MoveTo(close);
    EXPECT_TRUE(Shows(suiClose, ButtonOfType(suiClose)->PicMouseOn()));
    EXPECT_TRUE(Shows(suiMin, ButtonOfType(suiMin)->PicNormal()));
    // Press minimise, slide onto close, release: nothing happens.
    MoveTo(min);
    Press(min);
    EXPECT_TRUE(Shows(suiMin, ButtonOfType(suiMin)->PicMouseDown()));
    MoveTo(close);
    EXPECT_TRUE(Shows(suiMin, ButtonOfType(suiMin)->PicNormal()));
    EXPECT_TRUE(Shows(suiClose, ButtonOfType(suiClose)->PicNormal()))
        << "only the pressed button looks pressed";
    Release(close);
    EXPECT_TRUE(host->Visible());
    EXPECT_FALSE(::IsIconic(host->Handle()));
    // Released onto the caption: nothing either.
    Press(close);
    MoveTo(OnBar(skin, 200, 10));
    Release(OnBar(skin, 200, 10));
    EXPECT_TRUE(host->Visible());
    // Pressed and released on the same button, it acts.
    Advance(1000);
    Click(min);
    EXPECT_TRUE(::IsIconic(host->Handle()));
}

TEST_F(TitleBar, HelpAndCustomButtonsFireTheBarsEventsWithTheirIndex) {
    skin = MakeSkinnedHost(MacOS);
    std::vector<std::string> log;
    skin->OnTitleBarHelpBtnClick = [&](TObject* sender, int index) {
        log.push_back("help " + std::to_string(index) + (sender == skin->TitleBar() ? " bar" : ""));
    };
    skin->OnTitleBarCustomBtnsClick = [&](TObject*, int index) {
        log.push_back("custom " + std::to_string(index));
    };
    TsuiTitleBarButton* help = skin->TitleBar()->Buttons()->Add();
    help->SetButtonType(suiHelp);
    TsuiTitleBarButton* custom = skin->TitleBar()->Buttons()->Add();
    TPicture face;
    TBitmap square(15, 15);
    face.SetGraphic(&square);
    custom->SetPicNormal(&face);
    ShowForm(host);
    Click(ButtonCentre(suiHelp));
    Advance(1000);
    Click(ButtonCentre(suiCustom));
    EXPECT_THAT(log, ElementsAre("help 4 bar", "custom 5"));
    EXPECT_TRUE(host->Visible());
}

TEST_F(TitleBar, TheTopEdgeOfABarOnASizeableSkinnedWindowResizes) {
    auto hit = [&](int x, int y) {
        const TPoint p = OnBar(skin, x, y);
        return static_cast<int>(
            ::SendMessage(skin->TitleBar()->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y)));
    };
    skin = MakeSkinnedHost(MacOS, bsSizeable, true);
    ShowForm(host);
    const int right = host->ClientWidth() - 2;
    EXPECT_EQ(hit(2, 2), HTTOPLEFT);
    EXPECT_EQ(hit(200, 0), HTTOP);
    EXPECT_EQ(hit(200, 4), HTTOP);
    EXPECT_EQ(hit(right, 2), HTTOPRIGHT);
    EXPECT_EQ(hit(200, 5), HTCLIENT);
    // A press there is the host's: the window system sizes the window from its top edge.
    const TRect before = host->BoundsRect();
    const TPoint edge = OnBar(skin, 200, 1);
    MoveTo(edge);
    Backend().Press(edge);
    Backend().MovePointer({edge.X, edge.Y - 20});
    Backend().Release({edge.X, edge.Y - 20});
    Pump();
    EXPECT_EQ(host->BoundsRect(), TRect(before.Left, before.Top - 20, before.Right, before.Bottom));

    host->SetWindowState(wsMaximized);
    EXPECT_EQ(hit(200, 2), HTCLIENT);
    delete host;

    skin = MakeSkinnedHost(MacOS, bsSingle);
    ShowForm(host);
    EXPECT_EQ(hit(200, 2), HTCLIENT);
    EXPECT_EQ(hit(2, 2), HTCLIENT);
}

TEST_F(TitleBar, SkinnedWindowsHaveRoundedTopCornersAgainAfterEveryResize) {
    auto inside = [&](int x, int y) {
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        const bool shaped = ::GetWindowRgn(host->Handle(), region) != 0;
        const bool result = shaped && ::PtInRegion(region, x, y);
        ::DeleteObject(region);
        return result;
    };
    skin = MakeSkinnedHost(WinXP);
    ShowForm(host);
    EXPECT_EQ(skin->RoundCorner(), 13);
    const int w = host->ClientWidth();
    const int h = host->ClientHeight();
    EXPECT_FALSE(inside(0, 0));
    EXPECT_FALSE(inside(w - 1, 0));
    EXPECT_TRUE(inside(6, 6));
    EXPECT_TRUE(inside(w / 2, 0));
    EXPECT_TRUE(inside(0, h - 1)) << "the bottom corners stay square";
    EXPECT_TRUE(inside(w - 1, h - 1));
    EXPECT_EQ(PixelOf(host, 0, 0), THeadlessBackend::kDesktopPixel);
    // WinXP draws no outline; BlueGlass draws one in the look's black along the top.
    EXPECT_NE(PixelAt(skin->TitleBar(), 240, 0), 0u);

    skin->SetWidth(600);
    Pump();
    EXPECT_TRUE(inside(600, 0));
    EXPECT_FALSE(inside(host->ClientWidth() - 1, 0));
    EXPECT_TRUE(inside(host->ClientWidth() - 1, host->ClientHeight() - 1));

    skin->SetUIStyle(BlueGlass);
    Pump();
    EXPECT_EQ(skin->RoundCorner(), 11);
    EXPECT_FALSE(inside(0, 0));
    TBitmap client;
    GetBuiltInThemeBitmap(BlueGlass, TsuiThemeElement::TitleBarClientImage, &client);
    ASSERT_NE(client.Pixels().At(0, 0), 0u) << "the picture alone is not black along the top";
    EXPECT_EQ(PixelAt(skin->TitleBar(), 240, 0), 0u);
    skin->SetUIStyle(MacOS);
    Pump();
    EXPECT_TRUE(inside(0, 0)) << "MacOS keeps square corners";
}

TEST_F(TitleBar, TheLookSetsTheCaptionColourButAThemeFileDoesNot) {
    skin = MakeSkinnedHost(MacOS);
    TsuiTitleBar* bar = skin->TitleBar();
    EXPECT_EQ(bar->Font()->Color(), 0x000000);
    bar->SetUIStyle(WinXP);
    EXPECT_EQ(bar->Font()->Color(), 0xFFFFFF);
    bar->Font()->SetColor(0x0000FF);
    auto* theme = new TsuiFileTheme(host);
    bar->SetFileTheme(theme);
    EXPECT_EQ(bar->Font()->Color(), 0x0000FF);
    EXPECT_EQ(bar->Height(), 29);
    // A freed theme takes the bar to DeepBlue.
    delete theme;
    EXPECT_EQ(bar->FileTheme(), nullptr);
    EXPECT_EQ(bar->UIStyle(), DeepBlue);
    EXPECT_EQ(bar->Height(), 32);
}

TEST_F(TitleBar, ACustomBarKeepsItsSectionsPicturesAndHeightWhenTheLookChanges) {
    skin = MakeSkinnedHost(MacOS);
    TsuiTitleBar* bar = skin->TitleBar();
    bar->SetCustom(true);
    bar->SetUIStyle(WinXP);
    EXPECT_EQ(bar->UIStyle(), WinXP);
    EXPECT_EQ(bar->Height(), 23);
    EXPECT_EQ(bar->Sections()->Items(0)->Width(), 48);
    EXPECT_EQ(ButtonOfType(suiClose)->PicNormal()->Width(), 17);
    EXPECT_EQ(bar->Font()->Color(), 0x000000);
    // A bar without sections keeps its height when asked to size itself.
    bar->Sections()->Clear();
    bar->SetHeight(40);
    bar->SetAutoSize(true);
    EXPECT_FALSE(bar->AutoSize());
    EXPECT_EQ(bar->Height(), 40);
}

} // namespace
