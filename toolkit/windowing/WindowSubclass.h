#pragma once

#include "toolkit/windowing/WinTypes.h"

#include <functional>

struct TSubclassRecord;

// Puts an object in front of a window's procedure. A window procedure is a plain function, so the
// window gets a shared trampoline and a window property leads it to a small record: the procedure
// that was there before and the object to ask. Every message first goes to the saved procedure;
// then the object sees it with the result and answers the final result.
//
// The object may go before the window, and the window before the object, in any order and in the
// middle of a message:
//   - Remove (and the destructor) puts the saved procedure back when the trampoline is still the
//     window's procedure. When someone has put a procedure of their own on top meanwhile, the
//     record stays and passes every message straight through to the saved procedure until the
//     window is destroyed, so their chain keeps working and nothing reaches the object.
//   - When the window is destroyed (WM_NCDESTROY), the record goes and the object is told that it
//     no longer sits on a window.
//   - A record is freed only once no message is inside it, so an object that frees itself (or is
//     freed) while handling a message never leaves the trampoline on freed memory.
// One object per window: a second one is refused.
class TWindowSubclass {
public:
    // Sees each message after the saved procedure; previous is what that procedure answered.
    using TAfterProc = std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam, LRESULT previous)>;

    explicit TWindowSubclass(TAfterProc after);
    ~TWindowSubclass();
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // False (and nothing changes) for a window that does not exist or already has an object in
    // front of it; an object already on another window leaves that one first.
    bool Install(HWND hwnd);
    void Remove();
    bool Installed() const { return m_record != nullptr; }
    // The window the object sits on, or 0.
    HWND Window() const;
    // The procedure the window had before, or none.
    WNDPROC SavedProc() const;

private:
    friend LRESULT SubclassTrampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    TAfterProc m_after;
    TSubclassRecord* m_record = nullptr; // owned by the window while installed
};

// The procedure every subclassed window gets; whether a window's procedure is it tells whether
// the subclass is still on top.
LRESULT SubclassTrampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
