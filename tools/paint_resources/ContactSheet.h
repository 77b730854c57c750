#pragma once

// A contact sheet of every built-in bitmap, so a person can judge the five looks at a glance: each
// look's bitmaps scaled up three times and labelled with their names and sizes (see-through pixels
// shown as a checkerboard), followed by a preview of the look's parts put together the way the skin
// draws them (a window with its title bar, push buttons stretched with kept corners, check boxes,
// a progress bar, a scroll bar and a track bar).

#include <filesystem>
#include <string>

// Writes the sheet as a PNG file.
bool WriteContactSheet(const std::filesystem::path& pngPath, std::string& error);
