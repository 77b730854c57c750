#include "toolkit/windowing/WindowSystem.h"

#include <cstring>

namespace {

// The classic desktop's system font: Tahoma at 8 points (11 pixels em at 96 dpi).
LOGFONT SystemFont(int weight) {
    LOGFONT font;
    font.lfHeight = -11;
    font.lfWeight = weight;
    font.lfCharSet = 1;
    std::strncpy(font.lfFaceName, "Tahoma", LF_FACESIZE - 1);
    return font;
}

} // namespace

// Metrics are the classic ones at 96 dpi, fixed, so that layouts measured on the classic desktop
// keep their sizes; only the screen and work area come from the backend.

int TWindowSystem::GetSystemMetrics(int index) const {
    const TRect screen = m_backend->ScreenRect();
    const TRect work = m_backend->WorkArea();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return screen.Width();
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return screen.Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 17;
    case SM_CYCAPTION:
        return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 19;
    case SM_CXFULLSCREEN:
        return work.Width();
    case SM_CYFULLSCREEN:
        return work.Height() - 19;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
        return 1;
    case SM_SWAPBUTTON:
        return 0;
    case SM_CXMIN:
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
        return 27;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXMAXTRACK:
        return screen.Width() + 12;
    case SM_CYMAXTRACK:
        return screen.Height() + 12;
    case SM_CXMAXIMIZED:
        return work.Width() + 8;
    case SM_CYMAXIMIZED:
        return work.Height() + 8;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
        return 13;
    default:
        return 0;
    }
}

bool TWindowSystem::SystemParametersInfo(UINT action, UINT /*param*/, void* data) {
    if (!data) {
        return false;
    }
    switch (action) {
    case SPI_GETWORKAREA:
        *static_cast<RECT*>(data) = m_backend->WorkArea();
        return true;
    case SPI_GETNONCLIENTMETRICS:
        return GetNonClientMetrics(data);
    case SPI_GETWHEELSCROLLLINES:
        *static_cast<UINT*>(data) = 3;
        return true;
    case SPI_GETDRAGFULLWINDOWS:
        *static_cast<BOOL*>(data) = TRUE;
        return true;
    case SPI_GETMENUSHOWDELAY:
        *static_cast<UINT*>(data) = 400;
        return true;
    case SPI_GETKEYBOARDCUES:
        // Access-key underlines are always shown.
        *static_cast<BOOL*>(data) = TRUE;
        return true;
    case SPI_GETFLATMENU:
        *static_cast<BOOL*>(data) = FALSE;
        return true;
    default:
        return false;
    }
}

void TWindowSystem::MessageBeep(UINT /*type*/) {
    m_backend->Beep();
}

bool TWindowSystem::GetNonClientMetrics(void* data) const {
    auto* metrics = static_cast<NONCLIENTMETRICS*>(data);
    // A record of another size is not ours to fill: the caller keeps what it had.
    if (metrics->cbSize != sizeof(NONCLIENTMETRICS)) {
        return false;
    }
    metrics->iBorderWidth = 1;
    metrics->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    metrics->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    metrics->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
    metrics->iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
    metrics->lfCaptionFont = SystemFont(FW_BOLD);
    metrics->iSmCaptionWidth = 12;
    metrics->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
    metrics->lfSmCaptionFont = SystemFont(FW_NORMAL);
    metrics->iMenuWidth = GetSystemMetrics(SM_CYMENU);
    metrics->iMenuHeight = GetSystemMetrics(SM_CYMENU);
    metrics->lfMenuFont = SystemFont(FW_NORMAL);
    metrics->lfStatusFont = SystemFont(FW_NORMAL);
    metrics->lfMessageFont = SystemFont(FW_NORMAL);
    return true;
}
