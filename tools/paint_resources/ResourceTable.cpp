#include "tools/paint_resources/ResourceTable.h"

namespace {

std::vector<TResourceEntry> BuildTable() {
    std::vector<TResourceEntry> table;
    AddMacOSResources(table);
    AddWinXPResources(table);
    AddDeepBlueResources(table);
    AddProteinResources(table);
    AddBlueGlassResources(table);
    AddSharedResources(table);
    return table;
}

} // namespace

const std::vector<TResourceEntry>& BitmapResources() {
    static const std::vector<TResourceEntry> table = BuildTable();
    return table;
}

const TResourceEntry* FindBitmapResource(const std::string& name) {
    for (const TResourceEntry& entry : BitmapResources()) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

TImage PaintBitmapResource(const TResourceEntry& entry) {
    TImage image = entry.paint();
    if (entry.surface == TSurface::Keyed) {
        image.KeyOut();
    }
    return image;
}

TImage Strip(int frameWidth, int height, int frames, const std::function<TImage(int)>& paintFrame) {
    TImage strip;
    for (int i = 0; i < frames; ++i) {
        const TImage frame = paintFrame(i);
        if (i == 0) {
            strip = TImage(frameWidth * frames, height, frame.Backdrop());
        }
        strip.Draw(frame, i * frameWidth, 0);
    }
    return strip;
}
