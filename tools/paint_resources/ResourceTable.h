#pragma once

// The table of every built-in bitmap: its resource name, its size, how many equal frames its strip
// holds, whether the magenta key may appear in it, and the function that paints it.

#include "tools/paint_resources/Painter.h"
#include "tools/paint_resources/Parts.h"

#include <functional>
#include <string>
#include <vector>

enum class TSurface {
    Opaque, // every pixel is drawn as it is; the key colour never appears
    Keyed,  // pixels beyond the art become the magenta key, so whatever lies below shows through
};

struct TResourceEntry {
    std::string name;
    int width = 0;
    int height = 0;
    int frames = 1; // equal frames side by side; 1 for a single picture
    TSurface surface = TSurface::Opaque;
    std::function<TImage()> paint;
};

// Every bitmap resource, looks first (MacOS, WinXP, DeepBlue, Protein, BlueGlass), then the
// shared ones.
const std::vector<TResourceEntry>& BitmapResources();

// The resource of that name, or nullptr.
const TResourceEntry* FindBitmapResource(const std::string& name);

// Paints the resource and finishes its surface (keys out what lies beyond the art of a keyed one).
// The writer refuses an image whose size differs from the table's.
TImage PaintBitmapResource(const TResourceEntry& entry);

// Helpers for the look units.
// Paints `frames` frames of frameWidth × height side by side, each by paintFrame(index from 0).
TImage Strip(int frameWidth, int height, int frames, const std::function<TImage(int)>& paintFrame);

void AddMacOSResources(std::vector<TResourceEntry>& out);
// One of the MacOS look's title-bar gumdrops on its own, size × size pixels with see-through
// corners (real coverage in its alpha), for pictures that are drawn over the title bar.
TImage MacOSTitleDrop(TTitleSymbol symbol, TFaceState state, int size, double radius);
void AddWinXPResources(std::vector<TResourceEntry>& out);
void AddDeepBlueResources(std::vector<TResourceEntry>& out);
void AddProteinResources(std::vector<TResourceEntry>& out);
void AddBlueGlassResources(std::vector<TResourceEntry>& out);
void AddSharedResources(std::vector<TResourceEntry>& out);
