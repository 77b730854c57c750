#pragma once

// varnel-theme check: everything a theme file gets wrong that the reader itself lets pass. The
// reader refuses a damaged container as a whole; a well-formed file can still lack elements,
// store them under the wrong type, hold strips that do not cut into their frames, or carry
// entries nothing reads. Each of those is one finding.

#include "skin/core/SUIThemes.h"
#include "toolkit/components/Status.h"

#include <string>
#include <vector>

enum class TThemeFindingKind {
    Missing,    // no entry of the element's type under its key
    WrongType,  // an entry under an element's key, of another type than the element needs
    StripWidth, // a strip whose width is not a multiple of its frame count
    Unreadable, // an image entry that does not decode as a bitmap
    Unused,     // an entry no element reads
};

struct TThemeFinding {
    TThemeFindingKind Kind;
    std::string Key;  // the entry's name as stored (printable), or the element's key
    std::string Text; // "Key: what is wrong", one line
};

// The number of equal frames the components cut an element's picture into: 1 for a picture
// used whole (and for every element that is no picture).
int ThemeElementFrames(TsuiThemeElement element);

// Reads and checks a theme file. Fails, with the reader's message, only when the file cannot be
// read at all; findings then stays empty. Findings come element by element, in element order,
// then the unused entries in file order.
TStatus CheckTheme(const std::string& file, std::vector<TThemeFinding>& findings);
