#pragma once

// A look chosen from outside a window's layout, as a command line names it: one of the built-in
// looks by name, or a theme file by path, laid over every skinned component of a window after
// the window has loaded, whatever looks its layout gave them.

#include "skin/core/SUIThemes.h"
#include "toolkit/components/Status.h"

#include <optional>
#include <string>
#include <string_view>

class TComponent;

// The built-in look of that name, letter case ignored ("winxp" is WinXP); nothing for any other
// name, FromThemeFile included.
std::optional<TsuiUIStyle> FindBuiltInLook(std::string_view name);

// "MacOS, WinXP, DeepBlue, Protein, BlueGlass": the names FindBuiltInLook knows, for messages.
std::string BuiltInLookNames();

// Loads the theme file at exactly path into theme. Unlike TsuiFileTheme::SetThemeFile, a path
// that names no file fails instead of falling back on a file of that name beside the program:
// whoever names a file means that one. On failure the message names the file and says what is
// wrong with it, and theme is unchanged.
TStatus LoadThemeFileAt(TsuiFileTheme& theme, const std::string& path);

// Gives every skinned component owned by owner (each whose class publishes FileTheme and
// UIStyle), in the order they were made, fileTheme and then style. The skinned form passes the
// look on to its title bar and menu, and the controls to the parts they are made of.
void ApplyLookToOwnedComponents(TComponent* owner, TsuiUIStyle style, TsuiFileTheme* fileTheme);
