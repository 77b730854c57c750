#include "toolkit/controls/HintWindow.h"

#include "toolkit/graphics/Gdi.h"

#include <algorithm>

VARNEL_CLASS_INFO(THintWindow)

namespace {

constexpr int kMargin = 2; // pixels between the frame and the text

} // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    SetVisible(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    SetParentFont(false);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
    params.WndParent = 0;
}

TRect THintWindow::CalcHintRect(const std::string& text) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    TRect r{0, 0, 0, 0};
    if (dc) {
        auto* canvas = static_cast<TControlCanvas*>(Canvas());
        canvas->BeginPaintWith(dc);
        canvas->SetFont(Font());
        ::DrawText(canvas->Handle(), text, &r, DT_CALCRECT | DT_NOPREFIX);
        canvas->EndPaintWith();
        ::DeleteDC(dc);
    }
    // A popup's WS_BORDER is a frame the window draws itself (see Paint), inside its area.
    return {0, 0, r.Width() + 2 * (kMargin + 1), r.Height() + 2 * (kMargin + 1)};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& text) {
    SetCaption(text);
    // Kept on the screen: a hint near the right or bottom edge moves in.
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const int x = std::max(0, std::min(rect.Left, screenWidth - rect.Width()));
    const int y = std::max(0, std::min(rect.Top, screenHeight - rect.Height()));
    SetBounds(x, y, rect.Width(), rect.Height());
    const HWND handle = Handle();
    if (!handle) {
        return;
    }
    ::SetWindowPos(handle, HWND_TOPMOST, x, y, rect.Width(), rect.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ReleaseHint() {
    if (HandleAllocated()) {
        ::ShowWindow(Handle(), SW_HIDE);
    }
}

void THintWindow::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    canvas->Brush()->SetColor(clWindowFrame);
    canvas->FrameRect(client);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client.Inflate(-1, -1));
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    TRect text = client.Inflate(-(kMargin + 1), -(kMargin + 1));
    ::DrawText(canvas->Handle(), Caption(), &text, DT_NOPREFIX);
}

void THintWindow::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_NCHITTEST:
        // The pointer passes through a hint to what lies below.
        message.Result = HTTRANSPARENT;
        return;
    case WM_NCCALCSIZE:
        // The frame is drawn in the client area.
        message.Result = 0;
        return;
    default:
        TCustomControl::Dispatch(message);
        return;
    }
}
