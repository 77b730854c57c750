// A small program for the end-to-end test of the skinned frame: one real skinned window (MacOS)
// with a menu bar, through the SDL backend, reporting on standard output what happens to it so
// that a script driving it with xdotool can check each step.
//
//   ready L T W H          the window is shown at (L, T), W × H
//   caption X Y            a screen point on the title bar's caption
//   filebutton X Y         the screen point of the middle of the menu bar's File button
//   closebutton X Y        the screen point of the middle of the title bar's close button
//   bounds L T W H STATE   the window's place changed (STATE normal or maximized)
//   opened File            the File menu is dropping down
//   chose hello            "Say hello" was chosen
//   chose about            "About" was chosen
//   closed                 the window closed and the program is ending
//   mouse KIND CLASS X Y   a left press (down, double) or release (up) reached a control

#include "skin/frame/SUIForm.h"
#include "skin/menus/SUIMenu.h"
#include "tests/e2e/ProbeSystem.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Timer.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/windowing/WindowSystem.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

void PrintPoint(const char* what, TPoint p) {
    std::printf("%s %d %d\n", what, p.X, p.Y);
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const char* caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

} // namespace

int main() {
    std::unique_ptr<TWindowSystem> system = StartProbeSystem();
    if (!system) {
        return 2;
    }
    RegisterFormClasses();

    TForm* host = nullptr;
    Application->CreateForm(host);
    host->SetBorderStyle(bsSingle);
    host->SetBounds(100, 100, 482, 481);
    host->SetCaption("Varnel frame probe");
    auto* skin = new TsuiForm(host);
    skin->SetUIStyle(MacOS);
    skin->SetWidth(480);
    skin->SetHeight(480);

    auto* menu = new TsuiMainMenu(host);
    TMenuItem* file = AddItem(host, menu->Items(), "&File");
    file->OnClick = [](TObject*) { std::printf("opened File\n"); };
    AddItem(host, file, "Say &hello")->OnClick = [](TObject*) { std::printf("chose hello\n"); };
    AddItem(host, file, "-");
    AddItem(host, file, "E&xit")->OnClick = [host](TObject*) { host->Close(); };
    TMenuItem* help = AddItem(host, menu->Items(), "&Help");
    AddItem(host, help, "&About")->OnClick = [](TObject*) { std::printf("chose about\n"); };
    menu->HookMenuItems(menu->Items());

    // Reports every change of the window's place, whatever made it.
    auto* watch = new TTimer(host);
    watch->SetInterval(30);
    TRect lastBounds = host->BoundsRect();
    TWindowState lastState = host->WindowState();
    watch->OnTimer = [&](TObject*) {
        if (host->BoundsRect() != lastBounds || host->WindowState() != lastState) {
            lastBounds = host->BoundsRect();
            lastState = host->WindowState();
            std::printf("bounds %d %d %d %d %s\n", lastBounds.Left, lastBounds.Top, lastBounds.Width(),
                        lastBounds.Height(), lastState == wsMaximized ? "maximized" : "normal");
        }
    };

    // Every press and release the program takes, with the control it goes to: when a step of the
    // script fails, the log shows where its clicks went.
    Application->HookMessages([](MSG& m) {
        if (m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONUP || m.message == WM_LBUTTONDBLCLK) {
            const TWinControl* control = FindControl(m.hwnd);
            std::printf("mouse %s %s %d %d\n",
                        m.message == WM_LBUTTONUP     ? "up"
                        : m.message == WM_LBUTTONDOWN ? "down"
                                                      : "double",
                        control ? control->ClassName().c_str() : "?", LParamToPoint(m.lParam).X,
                        LParamToPoint(m.lParam).Y);
        }
        return false;
    });
    host->Show();
    Application->ProcessMessages();
    system->PresentChanged(true);
    const TRect shown = host->BoundsRect();
    std::printf("ready %d %d %d %d\n", shown.Left, shown.Top, shown.Width(), shown.Height());
    PrintPoint("caption", skin->TitleBar()->ClientToScreen({200, 10}));
    TToolButton* fileButton = skin->MenuBar()->Buttons(0);
    PrintPoint("filebutton", skin->MenuBar()->ClientToScreen({fileButton->Left() + fileButton->Width() / 2,
                                                              fileButton->Top() + fileButton->Height() / 2}));
    const TsuiTitleBarLayout layout = skin->TitleBar()->Layout();
    for (const auto& place : layout.Buttons) {
        if (skin->TitleBar()->Buttons()->Items(place.Index)->ButtonType() == suiClose) {
            PrintPoint("closebutton",
                       skin->TitleBar()->ClientToScreen({place.Rect.Left + place.Rect.Width() / 2,
                                                         place.Rect.Top + place.Rect.Height() / 2}));
        }
    }
    Application->Run();
    std::printf("closed\n");
    Application->Reset();
    return 0;
}
