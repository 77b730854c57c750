#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// The queue hands out, in this order: posted messages, WM_QUIT, input (made from raw events at
// the moment it is retrieved, so routing sees the capture and focus of that moment), WM_PAINT for
// a window with something to paint, and WM_TIMER for the earliest due timer.

LRESULT TWindowSystem::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TWindow* w = Find(hwnd);
    if (!w || !w->Proc) {
        return 0;
    }
    // The procedure may destroy the window: nothing of w is touched after the call.
    WNDPROC proc = w->Proc;
    return proc(hwnd, message, wParam, lParam);
}

bool TWindowSystem::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd != 0 && !Find(hwnd)) {
        return false;
    }
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(Now());
    m.pt = m_cursorPos;
    m_posted.push_back(m);
    return true;
}

void TWindowSystem::PostQuit(int exitCode) {
    m_quitPosted = true;
    m_quitCode = exitCode;
}

bool TWindowSystem::MatchesFilter(const MSG& msg, HWND filter, UINT first, UINT last) const {
    if (filter && msg.hwnd != filter && !IsChild(filter, msg.hwnd)) {
        return false;
    }
    if (first == 0 && last == 0) {
        return true;
    }
    return msg.message >= first && msg.message <= last;
}

void TWindowSystem::Record(const MSG& msg) {
    m_lastMessageTime = msg.time;
    m_lastMessagePos = msg.pt;
}

bool TWindowSystem::Peek(MSG& msg, HWND filter, UINT first, UINT last, UINT remove) {
    const bool removeIt = (remove & PM_REMOVE) != 0;
    bool pumped = false;
    for (;;) {
        for (auto it = m_posted.begin(); it != m_posted.end(); ++it) {
            if (MatchesFilter(*it, filter, first, last)) {
                msg = *it;
                if (removeIt) {
                    m_posted.erase(it);
                }
                Record(msg);
                return true;
            }
        }
        if (m_quitPosted) {
            msg = {};
            msg.message = WM_QUIT;
            msg.wParam = static_cast<WPARAM>(m_quitCode);
            msg.time = static_cast<DWORD>(Now());
            msg.pt = m_cursorPos;
            if (removeIt) {
                m_quitPosted = false;
            }
            return true;
        }
        if (!m_cooked.empty()) {
            if (!IsWindow(m_cooked.front().hwnd)) {
                m_cooked.pop_front();
                continue;
            }
            if (MatchesFilter(m_cooked.front(), filter, first, last)) {
                msg = m_cooked.front();
                if (removeIt) {
                    m_cooked.pop_front();
                }
                Record(msg);
                return true;
            }
            // Input is handed out in order: a filtered peek does not reach past it.
        } else if (!m_rawInput.empty()) {
            TRawInput raw = m_rawInput.front();
            m_rawInput.pop_front();
            // Only the latest of a run of pointer moves matters, as on any desktop.
            while (raw.Kind == TRawInputKind::PointerMove && !m_rawInput.empty() &&
                   m_rawInput.front().Kind == TRawInputKind::PointerMove) {
                raw = m_rawInput.front();
                m_rawInput.pop_front();
            }
            if (std::optional<MSG> cooked = Cook(raw)) {
                m_cooked.push_back(*cooked);
            }
            // Cooking may have posted (WM_MOUSELEAVE before the move that caused it): look again.
            continue;
        } else if (!pumped) {
            pumped = true;
            m_backend->PumpEvents();
            if (!m_rawInput.empty()) {
                continue;
            }
        }

        if (first == 0 || (WM_PAINT >= first && WM_PAINT <= last)) {
            if (HWND paint = FindWindowToPaint(filter)) {
                msg = {};
                msg.hwnd = paint;
                msg.message = WM_PAINT;
                msg.time = static_cast<DWORD>(Now());
                msg.pt = m_cursorPos;
                Record(msg);
                return true;
            }
        }
        if (CheckHover()) {
            continue;
        }
        return RetrieveTimer(msg, filter, first, last, remove);
    }
}

bool TWindowSystem::RetrieveTimer(MSG& msg, HWND filter, UINT first, UINT last, UINT remove) {
    if (first != 0 && (WM_TIMER < first || WM_TIMER > last)) {
        return false;
    }
    const std::int64_t now = Now();
    TTimer* best = nullptr;
    for (TTimer& t : m_timers) {
        if (t.Interval <= 0 || t.Due > now) {
            continue;
        }
        if (filter && t.Window != filter && !IsChild(filter, t.Window)) {
            continue;
        }
        if (!best || t.Due < best->Due || (t.Due == best->Due && t.Sequence < best->Sequence)) {
            best = &t;
        }
    }
    if (!best) {
        return false;
    }
    msg = {};
    msg.hwnd = best->Window;
    msg.message = WM_TIMER;
    msg.wParam = best->Id;
    msg.lParam = reinterpret_cast<LPARAM>(best->Proc);
    msg.time = static_cast<DWORD>(now);
    msg.pt = m_cursorPos;
    if (remove & PM_REMOVE) {
        // One WM_TIMER per due time; a late loop does not get a backlog of them.
        best->Due = now + best->Interval;
    }
    Record(msg);
    return true;
}

bool TWindowSystem::HasReadyMessage() {
    m_backend->PumpEvents();
    if (!m_posted.empty() || m_quitPosted || !m_cooked.empty() || !m_rawInput.empty()) {
        return true;
    }
    if (FindWindowToPaint(0)) {
        return true;
    }
    if (CheckHover()) {
        return true;
    }
    std::optional<std::int64_t> due = NextDue();
    return due && *due <= Now();
}

void TWindowSystem::Wait() {
    if (HasReadyMessage()) {
        return;
    }
    PresentChanged(true);
    std::optional<std::int64_t> due = NextDue();
    ++m_idleWaitDepth;
    m_backend->WaitForEvents(due ? *due : -1);
    --m_idleWaitDepth;
}

// A filtered GetMessage must not spin on messages it does not want: wait for the backend even
// when other messages are ready.
bool TWindowSystem::WaitForFiltered() {
    PresentChanged(true);
    std::optional<std::int64_t> due = NextDue();
    ++m_idleWaitDepth;
    m_backend->WaitForEvents(due ? *due : -1);
    --m_idleWaitDepth;
    return true;
}

bool TWindowSystem::Get(MSG& msg, HWND filter, UINT first, UINT last) {
    const bool filtered = filter != 0 || first != 0 || last != 0;
    for (;;) {
        if (Peek(msg, filter, first, last, PM_REMOVE)) {
            return msg.message != WM_QUIT;
        }
        if (filtered) {
            WaitForFiltered();
        } else {
            Wait();
        }
    }
}

bool TWindowSystem::Translate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) {
        return false;
    }
    // Printable characters arrive as typed text from the backend; what is made here are the
    // characters that have no text: control characters and Alt combinations.
    const int vk = static_cast<int>(msg.wParam);
    const bool ctrl = (m_keyState[VK_CONTROL] & 0x80) != 0;
    const bool alt = (m_keyState[VK_MENU] & 0x80) != 0;
    const bool shift = (m_keyState[VK_SHIFT] & 0x80) != 0;
    char32_t ch = 0;
    UINT message = WM_CHAR;
    if (msg.message == WM_SYSKEYDOWN) {
        if (!alt || ctrl) {
            return false;
        }
        message = WM_SYSCHAR;
        if (vk >= 'A' && vk <= 'Z') {
            ch = shift ? static_cast<char32_t>(vk) : static_cast<char32_t>(vk - 'A' + 'a');
        } else if (vk >= '0' && vk <= '9') {
            ch = static_cast<char32_t>(vk);
        } else if (vk == VK_SPACE) {
            ch = U' ';
        } else if (vk == VK_RETURN) {
            ch = U'\r';
        } else if (vk == VK_BACK) {
            ch = 8;
        }
    } else if (ctrl && !alt) {
        if (vk >= 'A' && vk <= 'Z') {
            ch = static_cast<char32_t>(vk - 'A' + 1);
        } else if (vk == VK_RETURN) {
            ch = U'\n';
        } else if (vk == VK_BACK) {
            ch = 0x7F;
        } else if (vk == VK_ESCAPE || vk == VK_OEM_4) {
            ch = 0x1B;
        } else if (vk == VK_OEM_5) {
            ch = 0x1C;
        } else if (vk == VK_OEM_6) {
            ch = 0x1D;
        }
    } else if (!alt) {
        switch (vk) {
        case VK_RETURN:
            ch = U'\r';
            break;
        case VK_BACK:
            ch = 8;
            break;
        case VK_TAB:
            ch = U'\t';
            break;
        case VK_ESCAPE:
            ch = 0x1B;
            break;
        default:
            break;
        }
    }
    if (ch == 0) {
        return false;
    }
    MSG out = msg;
    out.message = message;
    out.wParam = ch;
    // Posted messages are retrieved before further input, so the character follows its key.
    m_posted.push_back(out);
    return true;
}

LRESULT TWindowSystem::Dispatch(const MSG& msg) {
    if (msg.message == WM_TIMER && msg.lParam != 0) {
        // Only call a procedure that belongs to a live timer: a stale message must not call
        // through a pointer nobody vouches for any more.
        TIMERPROC proc = reinterpret_cast<TIMERPROC>(msg.lParam);
        auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const TTimer& t) {
            return t.Window == msg.hwnd && t.Id == msg.wParam && t.Proc == proc;
        });
        if (it == m_timers.end()) {
            return 0;
        }
        proc(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
        return 0;
    }
    TWindow* w = Find(msg.hwnd);
    if (!w || !w->Proc) {
        return 0;
    }
    WNDPROC proc = w->Proc;
    const unsigned paintsBefore = w->BeginPaintCount;
    LRESULT result = proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    if (msg.message == WM_PAINT) {
        // A procedure that ignores WM_PAINT would otherwise be asked again forever.
        ValidateAfterUnansweredPaint(msg.hwnd, paintsBefore);
    }
    return result;
}

// ---- Loops -------------------------------------------------------------------------------------

TWindowSystem::TMessageFilter TWindowSystem::SetMessageFilter(TMessageFilter filter) {
    std::swap(m_filter, filter);
    return filter;
}

TWindowSystem::TIdleHandler TWindowSystem::SetIdleHandler(TIdleHandler handler) {
    std::swap(m_idle, handler);
    return handler;
}

void TWindowSystem::Pump(MSG& msg) {
    // Copied: a hook may uninstall itself while it runs.
    TMessageFilter filter = m_filter;
    if (filter && filter(msg)) {
        return;
    }
    Translate(msg);
    Dispatch(msg);
}

bool TWindowSystem::PumpPending() {
    MSG msg;
    while (Peek(msg, 0, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuit(static_cast<int>(msg.wParam));
            return false;
        }
        Pump(msg);
    }
    return true;
}

int TWindowSystem::RunMessageLoop() {
    MSG msg;
    for (;;) {
        if (!Peek(msg, 0, 0, 0, PM_REMOVE)) {
            if (TIdleHandler idle = m_idle) {
                idle();
            }
            Wait();
            continue;
        }
        if (msg.message == WM_QUIT) {
            return static_cast<int>(msg.wParam);
        }
        Pump(msg);
    }
}

int TWindowSystem::RunModalLoop(HWND modal, const std::function<bool()>& done) {
    const HWND previousActive = m_active;
    const HWND modalOwner = modal ? GetWindow(modal, GW_OWNER) : 0;
    // Every other window the user could reach is disabled; windows owned by the modal one (its
    // menus) stay usable.
    std::vector<HWND> disabled;
    const std::vector<HWND> topLevels = m_topLevels;
    for (HWND t : topLevels) {
        const TWindow* w = Find(t);
        if (!w || t == modal || (modal && IsOwnedBy(t, modal))) {
            continue;
        }
        if ((w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED)) {
            disabled.push_back(t);
            EnableWindow(t, false);
        }
    }
    if (modal && IsWindow(modal) && IsVisible(modal)) {
        SetActiveWindow(modal);
    }

    ++m_modalDepth;
    int result = 0;
    MSG msg;
    for (;;) {
        if (done && done()) {
            result = 0;
            break;
        }
        if (modal && !IsWindow(modal)) {
            result = 1;
            break;
        }
        if (!Peek(msg, 0, 0, 0, PM_REMOVE)) {
            if (TIdleHandler idle = m_idle) {
                idle();
            }
            if ((done && done()) || (modal && !IsWindow(modal))) {
                continue;
            }
            Wait();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuit(static_cast<int>(msg.wParam));
            result = 2;
            break;
        }
        Pump(msg);
    }
    --m_modalDepth;

    for (HWND t : disabled) {
        if (IsWindow(t)) {
            EnableWindow(t, true);
        }
    }
    // While the modal window went away its owner was still disabled and could not take over the
    // activation; now that it is enabled again, it does.
    if (!modal || !IsWindow(modal) || !IsVisible(modal)) {
        for (HWND candidate : {modalOwner, previousActive}) {
            if (candidate && candidate != modal && IsWindow(candidate) && IsVisible(candidate) &&
                (!m_active || m_active == modal || !IsWindow(m_active))) {
                SetActiveWindow(candidate);
            }
        }
    }
    return result;
}
