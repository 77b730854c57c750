#pragma once

// The text form of layouts: parsing text into a TLayoutObject tree and printing a tree as text.
//
//   object suiForm1: TsuiForm
//     Caption = 'Varnel V1.0'
//     Font.Style = [fsBold]
//     Lines.Strings = (
//       'first'
//       'second')
//     Picture.Data = {
//       0A1B2C}
//     TitleBarButtons = <
//       item
//         ButtonType = suiClose
//       end>
//     object suiButton4: TsuiButton
//       OnClick = suiButton4Click
//     end
//   end
//
// Strings are quoted with '' for a quote, #nnn for a character by its code point (written as
// UTF-8), and + to continue on the next line. Integers are decimal or $hex; floats use a point.

#include "toolkit/components/LayoutTree.h"
#include "toolkit/components/Status.h"

#include <cstddef>
#include <string>
#include <string_view>

// Where and why a layout failed: the file, the 1-based line, the offending word.
struct TLayoutError {
    std::string file;
    int line = 0;
    std::string word;
    std::string message; // names the word in quotes where there is one

    // "Unit1, line 12: Unknown property "Colour" of TsuiButton"
    std::string Text() const;
    TStatus ToStatus() const { return TStatus::Fail(Text()); }
};

// Bounds that keep a hostile or broken layout from costing unbounded time, memory or stack.
struct TLayoutLimits {
    std::size_t maxBytes = 16 * 1024 * 1024;
    int maxDepth = 64; // objects, collection items and values nested in one another
    // Components one layout may create: finding names and owners is linear per component, and
    // no window needs more.
    int maxComponents = 4096;
};

// Parses one `object ... end` with nothing but white space around it.
// On failure returns false and fills error (whose file is fileName).
bool ParseLayout(std::string_view text, std::string_view fileName, TLayoutObject& out, TLayoutError& error,
                 const TLayoutLimits& limits = {});

// Parses a single value as a layout writes it after "Name =".
bool ParseLayoutValue(std::string_view text, TLayoutValue& out, TLayoutError& error);

// The text of a tree, in the form ParseLayout reads, with LF line ends (either is read).
std::string PrintLayout(const TLayoutObject& root);
// One value as it would follow "Name = " at the given indentation.
std::string PrintLayoutValue(const TLayoutValue& value, int indent = 0);
