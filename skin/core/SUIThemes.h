#pragma once

// The looks of the skin: the enumeration of looks, the 42 themed elements with their kinds and
// theme-file keys, the built-in value of every element in every look, and the reads through
// which components take their bitmaps, colours, integers and booleans from a look. The theme-file
// side (TsuiFileThemeMgr here, TsuiFileTheme in SUIMgr) gives the same elements from a file.

#include "toolkit/components/Properties.h"
#include "toolkit/components/Status.h"
#include "toolkit/graphics/Color.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TBitmap;
class TComponent;
class TGraphic;
class TsuiFileTheme;
class TsuiThemeFileReader;

// A look. Stored as one byte; DeepBlue is the fallback look.
enum TsuiUIStyle : std::uint8_t { FromThemeFile, MacOS, WinXP, DeepBlue, Protein, BlueGlass };

inline constexpr std::string_view kUIStyleNames[] = {"FromThemeFile", "MacOS",   "WinXP",
                                                     "DeepBlue",      "Protein", "BlueGlass"};
inline constexpr TEnumInfo UIStyleInfo{"TsuiUIStyle", kUIStyleNames};

// The five looks built into the program, in the order of the enumeration.
inline constexpr TsuiUIStyle kBuiltInUIStyles[] = {MacOS, WinXP, DeepBlue, Protein, BlueGlass};

// What kind of value an element holds.
enum class TsuiThemeValueKind : std::uint8_t { Integer, Color, Bitmap, Boolean };

// The themed elements, numbered 1 to 42. Each name is also the key under which a theme file
// stores the element.
enum class TsuiThemeElement : int {
    ButtonImage = 1,
    ButtonTransparentBool,
    CheckBoxImage,
    RadioButtonImage,
    TitleBarButtonImage,
    TitleBarButtonTransparentBool,
    TitleBarButtonLeftOffsetInt,
    TitleBarButtonRightOffsetInt,
    TitleBarButtonTopInt,
    TitleBarLeftImage,
    TitleBarClientImage,
    TitleBarRightImage,
    FormMinWidthInt,
    FormRoundCornerInt,
    FormBackgroundColor,
    FormBorderColor,
    FormBorderWidthInt,
    MenuSelectedBorderColor,
    MenuSelectedBackgroundColor,
    MenuSelectedFontColor,
    MenuBackgroundColor,
    MenuFontColor,
    MenuBarColor,
    ProgressBarImage,
    ControlBorderColor,
    ControlBackgroundColor,
    ControlFontColor,
    TrackBarBarImage,
    TrackBarSliderImage,
    TrackBarSliderVImage,
    ScrollBarBackgroundColor,
    ScrollBarButtonImage,
    ScrollBarSliderImage,
    CheckListBoxImage,
    ToolBarButtonBorderColor,
    ToolBarButtonBackgroundColor,
    ToolBarButtonDownBackgroundColor,
    ScrollButtonImage,
    TabControlTabImage,
    TabControlBarImage,
    SideChannelHandleImage,
    SideChannelBarImage,
};

constexpr int kThemeElementCount = 42;

constexpr bool IsThemeElement(TsuiThemeElement element) {
    return static_cast<int>(element) >= 1 && static_cast<int>(element) <= kThemeElementCount;
}

// The theme-file key of an element ("ButtonImage" for element 1); empty outside 1 to 42.
std::string_view ThemeElementKey(TsuiThemeElement element);
// The kind of an element; Integer outside 1 to 42.
TsuiThemeValueKind ThemeElementKind(TsuiThemeElement element);
// The element a key names, letter case ignored.
std::optional<TsuiThemeElement> FindThemeElement(std::string_view key);

// One cell of the built-in table: an integer, a colour or a boolean (0 or 1) in Value, or for a
// bitmap the name of the program resource that holds it in Resource (Value then 0).
struct TsuiThemeEntry {
    TsuiThemeValueKind Kind = TsuiThemeValueKind::Integer;
    std::int32_t Value = -1;
    std::string_view Resource;
};

// The raw table cell. Anything without a cell (FromThemeFile, a value that is no look, an
// element outside 1 to 42) answers -1 of kind Integer.
TsuiThemeEntry GetBuiltInThemeEntry(TsuiUIStyle style, TsuiThemeElement element);

// Typed reads: the value when the cell has the matching kind, otherwise -1, black and false.
int GetBuiltInThemeInt(TsuiUIStyle style, TsuiThemeElement element);
TColor GetBuiltInThemeColor(TsuiUIStyle style, TsuiThemeElement element);
bool GetBuiltInThemeBool(TsuiUIStyle style, TsuiThemeElement element);

// Loads the element's bitmap into bitmap (owned by the caller): whole when count is 0, or frame
// index (counted from 1 at the left) of count equal frames. Does nothing when bitmap is null or
// the cell holds no bitmap.
void GetBuiltInThemeBitmap(TsuiUIStyle style, TsuiThemeElement element, TBitmap* bitmap, int index = 0,
                           int count = 0);

// The look a new component starts with, given its owner: the UIStyle of the first skinned form
// panel (class TsuiForm or derived) among the direct child controls of the owner, when the owner
// is a form; DeepBlue for no owner, an owner that is no form, or a form without one.
TsuiUIStyle GetOwnerUIStyle(const TComponent* owner);

// Whether a component with this FileTheme and UIStyle reads its elements from the file (true),
// or from the built-in look left in effective (false). FromThemeFile without a loaded file
// falls back to DeepBlue.
bool ResolveUIStyle(const TsuiFileTheme* fileTheme, TsuiUIStyle uiStyle, TsuiUIStyle& effective);

// Holds at most one loaded theme file and reads elements from it by number.
class TsuiFileThemeMgr {
public:
    TsuiFileThemeMgr();
    ~TsuiFileThemeMgr();
    TsuiFileThemeMgr(const TsuiFileThemeMgr&) = delete;
    TsuiFileThemeMgr& operator=(const TsuiFileThemeMgr&) = delete;

    // Reads the whole file and, only when that succeeded, replaces the current reader. A file
    // that is missing, cannot be read or is damaged leaves the current reader in place and
    // the answer says why.
    TStatus LoadFile(const std::string& fileName);
    bool HasReader() const { return m_reader != nullptr; }
    const TsuiThemeFileReader* Reader() const { return m_reader.get(); }

    // Loads graphic from the element's image. Without a reader nothing happens; a loaded file
    // without that image (or with one that does not decode) leaves graphic empty.
    void GetBitmap(TsuiThemeElement element, TGraphic* graphic) const;
    // False without a reader or when the key is absent.
    bool GetBool(TsuiThemeElement element) const;
    // 0 without a reader, -1 when the key is absent.
    TColor GetColor(TsuiThemeElement element) const;
    int GetInt(TsuiThemeElement element) const;

private:
    std::unique_ptr<TsuiThemeFileReader> m_reader;
};
