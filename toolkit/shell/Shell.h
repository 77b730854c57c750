#pragma once

#include "toolkit/windowing/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// The operating system's services the program asks for by name: the clipboard as plain text,
// opening a document or address with the desktop's preferred program, and the default beep.

// Puts text on the clipboard (through the backend: the desktop's clipboard, or an in-process
// one headless). Bytes are kept exactly, CR LF included, up to the first NUL.
bool SetClipboardText(std::string_view text);
// The clipboard's text, or nullopt when it holds none.
std::optional<std::string> GetClipboardText();

// Classic answers of ShellExecute: above 32 on success, else the reason.
constexpr std::intptr_t SE_ERR_FNF = 2;
constexpr std::intptr_t SE_ERR_OOM = 8;
constexpr std::intptr_t SE_ERR_NOASSOC = 31;
constexpr std::intptr_t kShellExecuteOk = 42;

// Opens file (a document name or an address) with xdg-open, started directly with the file as
// its one argument, never through a shell, in directory when one is given. Only the "open"
// operation (or none) is known. Returns at once; the started program is reaped when it ends.
// A file name starting with "-" is passed as "./-..." so that it cannot read as an option.
std::intptr_t ShellExecute(HWND parent, const char* operation, const char* file, const char* parameters,
                           const char* directory, int showCommand);

// The program ShellExecute starts: "xdg-open" (found through PATH) unless changed.
void SetShellOpenProgram(std::string program);
// Processes started by ShellExecute that have not been reaped yet; reaps those that ended.
std::vector<pid_t> PendingShellChildren();

// The system's default beep.
void Beep();
