// Skinned windows at scale 2 against the same windows at scale 1: every 2 × 2 block of what the
// screen shows is the logical pixel, so the looks stay exactly as drawn. Each scene runs in a
// toolkit of its own per scale, built from nothing, as the program starts: the program's main
// window, with a menu open and with a message box over it, then a skinned frame and the message
// box alone in every look.

#include "app/RandomSource.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIMemo.h"
#include "skin/core/SUIThemes.h"
#include "skin/dialogs/SUIDialog.h"
#include "skin/dialogs/SUIMessageForm.h"
#include "skin/frame/SUIForm.h"
#include "skin/frame/SUITitleBar.h"
#include "skin/menus/SUIMenu.h"
#include "tests/support/Artifacts.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Screen.h"
#include "toolkit/controls/ToolBar.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/menus/MenuTracker.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A window as the screen shows it.
struct TShownWindow {
    TRect Bounds; // logical
    TNativeWindowKind Kind = TNativeWindowKind::Normal;
    TPixelBuffer Pixels; // device
};

// One toolkit at a scale with the application started afresh in it; the application goes with it.
class TScaledRun {
public:
    explicit TScaledRun(int scale) : m_scale(scale) {
        auto backend = std::make_unique<THeadlessBackend>(scale);
        m_backend = backend.get();
        m_system = StartWindowSystem(std::move(backend), std::make_unique<TManualClock>(1000));
        m_backend->SetStallHandler([] {
            ADD_FAILURE() << "a message loop waited for input that the test never scripted";
            PostQuitMessage(99);
        });
        Application->Reset();
        Application->Initialize();
        RegisterFormClasses();
    }
    ~TScaledRun() {
        Application->Reset();
        Screen->SetCursor(crDefault);
        SetMouseControl(nullptr);
        FreeDeviceContexts();
        m_system.reset();
        m_kept.clear();
    }
    TScaledRun(const TScaledRun&) = delete;
    TScaledRun& operator=(const TScaledRun&) = delete;

    int Scale() const { return m_scale; }
    THeadlessBackend& Backend() { return *m_backend; }
    void Pump() { m_system->PumpPending(); }

    // A click at the last device pixel of the logical point's block: a pointer rounded the wrong
    // way would land in the next logical pixel.
    void Click(TPoint logical) { InjectClick(logical), Pump(); }
    void InjectClick(TPoint logical) {
        const TPoint device{logical.X * m_scale + m_scale - 1, logical.Y * m_scale + m_scale - 1};
        m_backend->MovePointer(device);
        m_backend->Press(device);
        m_backend->Release(device);
    }
    void WhenIdle(std::function<void()> step) { m_backend->WhenIdle(std::move(step)); }
    // Keeps what the windows use until they are gone.
    template <typename T>
    T* Keep(std::unique_ptr<T> object) {
        T* raw = object.get();
        m_kept.push_back(std::shared_ptr<T>(std::move(object)));
        return raw;
    }

    // Every window the screen shows, back to front.
    std::vector<TShownWindow> Capture() {
        m_system->PresentChanged(true);
        std::vector<const THeadlessBackend::TNativeWindow*> shown;
        for (HWND hwnd : m_backend->NativeWindows()) {
            const THeadlessBackend::TNativeWindow* w = m_backend->Native(hwnd);
            if (w->Visible && !w->Minimized) {
                shown.push_back(w);
            }
        }
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) {
            const bool ap = a->Params.Kind == TNativeWindowKind::Popup;
            const bool bp = b->Params.Kind == TNativeWindowKind::Popup;
            return ap != bp ? bp : a->RaiseOrder < b->RaiseOrder;
        });
        std::vector<TShownWindow> result;
        for (const auto* w : shown) {
            result.push_back({w->Bounds, w->Params.Kind, w->Presented});
        }
        return result;
    }

private:
    int m_scale;
    THeadlessBackend* m_backend = nullptr;
    std::unique_ptr<TWindowSystem> m_system;
    std::vector<std::shared_ptr<void>> m_kept;
};

// What a scene shows at a scale: it builds its windows in the run and captures them when they
// are as the test wants them (inside a menu's loop, say).
using TScene = std::function<std::vector<TShownWindow>(TScaledRun&)>;

std::vector<TShownWindow> Shoot(int scale, const TScene& scene) {
    TScaledRun run(scale);
    return scene(run);
}

int Colours(const TPixelBuffer& pixels) {
    std::set<std::uint32_t> seen(pixels.Pixels().begin(), pixels.Pixels().end());
    return static_cast<int>(seen.size());
}

// The top-left device pixel of every block, and how many blocks hold more than one value.
TPixelBuffer Unblock(const TPixelBuffer& device, int n, int& mixed) {
    TPixelBuffer logical(device.Width() / n, device.Height() / n);
    mixed = 0;
    for (int y = 0; y < logical.Height(); ++y) {
        for (int x = 0; x < logical.Width(); ++x) {
            const std::uint32_t first = device.At(x * n, y * n);
            logical.Set(x, y, first);
            bool same = true;
            for (int k = 0; k < n * n; ++k) {
                same = same && device.At(x * n + k % n, y * n + k / n) == first;
            }
            mixed += !same;
        }
    }
    return logical;
}

// Runs the scene at 1 and at 2 and holds every window's blocks against its logical pixels.
void ExpectBlocksOfTheLogicalPixels(const std::string& name, const TScene& scene, std::size_t windows) {
    const std::vector<TShownWindow> one = Shoot(1, scene);
    const std::vector<TShownWindow> two = Shoot(2, scene);
    ASSERT_EQ(one.size(), windows) << name;
    ASSERT_EQ(two.size(), windows) << name;
    for (std::size_t i = 0; i < one.size(); ++i) {
        SCOPED_TRACE(name + ", window " + std::to_string(i));
        EXPECT_EQ(two[i].Bounds, one[i].Bounds) << "the toolkit places it the same";
        EXPECT_EQ(two[i].Kind, one[i].Kind);
        EXPECT_GT(Colours(one[i].Pixels), 3) << "a scene that shows next to nothing proves nothing";
        ASSERT_EQ(two[i].Pixels.Width(), 2 * one[i].Pixels.Width());
        ASSERT_EQ(two[i].Pixels.Height(), 2 * one[i].Pixels.Height());
        int mixed = 0;
        const TPixelBuffer blocks = Unblock(two[i].Pixels, 2, mixed);
        EXPECT_EQ(mixed, 0) << "blocks of more than one value";
        EXPECT_TRUE(SamePixels(blocks, one[i].Pixels, name + "-" + std::to_string(i)));
        if (mixed) {
            SaveFailurePng(name + "-" + std::to_string(i) + "-at-2", two[i].Pixels);
        } else {
            SaveArtifactPng(name + "-" + std::to_string(i) + "-at-2", two[i].Pixels);
        }
    }
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const char* caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

// A skinned window of the look with a menu bar (File: Say hello, Exit; Help: About), 482 × 481
// at (100, 100), shown.
struct TSkinnedWindow {
    TForm* Host = nullptr;
    TsuiForm* Skin = nullptr;
    TMenuItem* File = nullptr;
    TMenuItem* Hello = nullptr;

    TSkinnedWindow(TScaledRun& run, TsuiUIStyle look) {
        Application->CreateForm(Host);
        Host->SetBorderStyle(bsSingle);
        Host->SetBounds(100, 100, 482, 481);
        Host->SetCaption("Varnel V1.0");
        Skin = new TsuiForm(Host);
        Skin->SetUIStyle(look);
        Skin->SetWidth(480);
        Skin->SetHeight(480);
        auto* menu = new TsuiMainMenu(Host);
        File = AddItem(Host, menu->Items(), "&File");
        Hello = AddItem(Host, File, "Say &hello");
        AddItem(Host, File, "-");
        AddItem(Host, File, "E&xit");
        TMenuItem* help = AddItem(Host, menu->Items(), "&Help");
        AddItem(Host, help, "&About");
        menu->HookMenuItems(menu->Items());
        Host->Show();
        run.Pump();
    }

    TPoint FileButton() const {
        const TToolButton* button = Skin->MenuBar()->Buttons(0);
        return Skin->MenuBar()->ClientToScreen(
            {button->Left() + button->Width() / 2, button->Top() + button->Height() / 2});
    }
};

// The program's windows as start-up makes them, drawing from the reproducible source so that both
// scales show the same passwords; the main window shown.
void StartVarnel(TScaledRun& run) {
    TVarnelWindows windows;
    TStatus made = CreateVarnelWindows(windows);
    ASSERT_TRUE(made) << made.Message();
    made = ApplyWindowOptions({}, *run.Keep(std::make_unique<TReproducibleRandomSource>()), windows);
    ASSERT_TRUE(made) << made.Message();
    Form1->Show();
    run.Pump();
}

TPoint Middle(const TControl* control) {
    return control->ClientToScreen({control->Width() / 2, control->Height() / 2});
}

TEST(ScaledVarnel, TheMainWindowIsTheLogicalPictureInBlocks) {
    ExpectBlocksOfTheLogicalPixels(
        "main",
        [](TScaledRun& run) {
            StartVarnel(run);
            EXPECT_EQ(run.Backend().Native(Form1->Handle())->DeviceBounds,
                      Bounds(399 * run.Scale(), 271 * run.Scale(), 482 * run.Scale(), 481 * run.Scale()))
                << "centred on the logical screen";
            return run.Capture();
        },
        1);
}

TEST(ScaledVarnel, TheMainWindowWithAMenuOpenIsTheLogicalPictureInBlocks) {
    ExpectBlocksOfTheLogicalPixels(
        "main-menu",
        [](TScaledRun& run) {
            StartVarnel(run);
            std::vector<TShownWindow> shot;
            run.WhenIdle([&] {
                shot = run.Capture();
                EndMenu();
            });
            // The Help menu, opened by a click at the device pixels of its button.
            TToolBar* bar = Form1->suiForm1->MenuBar();
            for (int i = 0; i < bar->ButtonCount(); ++i) {
                if (bar->Buttons(i)->MenuItem() == Form1->Help1) {
                    run.Click(Middle(bar->Buttons(i)));
                }
            }
            return shot;
        },
        2);
}

TEST(ScaledVarnel, GeneratingAndCopyingAtDevicePixelsShowsTheMessageBoxInBlocks) {
    ExpectBlocksOfTheLogicalPixels(
        "main-box",
        [](TScaledRun& run) {
            StartVarnel(run);
            run.Click(Middle(Form1->suiButton4)); // Generate password
            const std::string list = Form1->suiMemo2->Text();
            EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 9)
                << "ten passwords at scale " << run.Scale();
            std::vector<TShownWindow> shot;
            run.WhenIdle([&] {
                shot = run.Capture();
                TfrmMsg* box = Form1->suiMessageDialog1->MessageForm();
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->suiForm1->Caption(), "Congratulation");
                run.InjectClick(Middle(box->Buttons().back()));
            });
            run.Click(Middle(Form1->suiButton3)); // Copy to clipboard
            EXPECT_EQ(Form1->suiMessageDialog1->MessageForm(), nullptr) << "OK closed the box";
            EXPECT_EQ(run.Backend().Clipboard(), Form1->suiMemo2->Text());
            return shot;
        },
        2);
}

class ScaledSkin : public ::testing::TestWithParam<TsuiUIStyle> {};

TEST_P(ScaledSkin, TheFrameWithItsMenuBarIsTheLogicalPictureInBlocks) {
    const TsuiUIStyle look = GetParam();
    ExpectBlocksOfTheLogicalPixels(
        "frame",
        [look](TScaledRun& run) {
            TSkinnedWindow window(run, look);
            return run.Capture();
        },
        1);
}

TEST_P(ScaledSkin, AnOpenMenuIsTheLogicalPictureInBlocks) {
    const TsuiUIStyle look = GetParam();
    ExpectBlocksOfTheLogicalPixels(
        "menu",
        [look](TScaledRun& run) {
            TSkinnedWindow window(run, look);
            std::vector<TShownWindow> shot;
            bool chose = false;
            window.Hello->OnClick = [&](TObject*) { chose = true; };
            TRect hello;
            run.WhenIdle([&] {
                shot = run.Capture();
                EXPECT_TRUE(GetOpenMenuItemRect(window.Hello, hello));
                // The item is chosen by a click at its device pixels too.
                run.InjectClick({hello.Left + 10, hello.Top + hello.Height() / 2});
            });
            // Opened by a click at the device pixels of the bar's File button.
            run.Click(window.FileButton());
            EXPECT_TRUE(chose) << "at scale " << run.Scale();
            return shot;
        },
        2);
}

TEST_P(ScaledSkin, TheMessageBoxIsTheLogicalPictureInBlocks) {
    const TsuiUIStyle look = GetParam();
    ExpectBlocksOfTheLogicalPixels(
        "message",
        [look](TScaledRun& run) {
            RegisterDialogClasses();
            auto* dialog = new TsuiMessageDialog(Application);
            dialog->SetUIStyle(look);
            dialog->SetIconType(TsuiIconType::suiInformation);
            dialog->SetCaption("Congratulation");
            dialog->SetText("Copy password to clipboard ok!");
            dialog->SetButtonCount(2);
            std::vector<TShownWindow> shot;
            run.WhenIdle([&] {
                shot = run.Capture();
                TfrmMsg* form = dialog->MessageForm();
                ASSERT_NE(form, nullptr);
                // Cancel, pressed at the device pixels of its bottom-right corner, next to OK.
                for (const TsuiButton* button : form->Buttons()) {
                    if (button->Caption() == "Cancel") {
                        run.InjectClick(button->ClientToScreen({button->Width() - 3, button->Height() - 3}));
                    }
                }
            });
            EXPECT_EQ(dialog->ShowModal(), mrCancel) << "at scale " << run.Scale();
            return shot;
        },
        1);
}

INSTANTIATE_TEST_SUITE_P(Looks, ScaledSkin, ::testing::ValuesIn(kBuiltInUIStyles),
                         [](const ::testing::TestParamInfo<TsuiUIStyle>& info) {
                             return std::string(kUIStyleNames[info.param]);
                         });

} // namespace
