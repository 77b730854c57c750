#pragma once

#include "toolkit/windowing/WinUser.h"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// Windows for tests: every message is logged, and a test can answer any message of any window
// with a handler; what no handler answers goes to DefWindowProc.
struct TLoggedMessage {
    HWND Window = 0;
    UINT Message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class TTestWindows {
public:
    static constexpr const char* kClass = "VarnelTestWindow";
    static constexpr const char* kDoubleClickClass = "VarnelTestWindowDblClk";

    TTestWindows();
    ~TTestWindows();
    TTestWindows(const TTestWindows&) = delete;
    TTestWindows& operator=(const TTestWindows&) = delete;

    // A top-level window (parent 0, or an owner) or a child (WS_CHILD in style); x, y, width,
    // height in the parent's client coordinates (screen for top-level windows).
    HWND Create(HWND parent, const RECT& bounds, DWORD style, DWORD exStyle = 0,
                const char* className = kClass, const char* text = "");

    // Answer the window's messages first; returning nullopt lets DefWindowProc answer.
    using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
    void On(HWND hwnd, THandler handler) {
        if (handler) {
            m_handlers[hwnd] = std::move(handler);
        } else {
            m_handlers.erase(hwnd);
        }
    }

    const std::vector<TLoggedMessage>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }
    // The messages logged, in order, keeping only those in wanted (all when wanted is empty),
    // for the given window (all windows when hwnd is 0).
    std::vector<UINT> Messages(HWND hwnd, const std::vector<UINT>& wanted = {}) const;
    std::vector<TLoggedMessage> Find(UINT message, HWND hwnd = 0) const;
    int Count(UINT message, HWND hwnd = 0) const { return static_cast<int>(Find(message, hwnd).size()); }

    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static TTestWindows* s_current;
    std::vector<TLoggedMessage> m_log;
    std::unordered_map<HWND, THandler> m_handlers;
};

// The name of a message, for readable failures ("WM_PAINT", or the number).
std::string MessageName(UINT message);
std::vector<std::string> MessageNames(const std::vector<UINT>& messages);
