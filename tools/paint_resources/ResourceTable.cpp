#include "tools/paint_resources/ResourceTable.h"

namespace {

std::vector<TResourceSpec> BuildTable() {
    std::vector<TResourceSpec> table;
    AddMacOSResources(table);
    AddWinXPResources(table);
    AddDeepBlueResources(table);
    AddProteinResources(table);
    AddBlueGlassResources(table);
    AddSharedResources(table);
    return table;
}

} // namespace

const std::vector<TResourceSpec>& BitmapResources() {
    static const std::vector<TResourceSpec> table = BuildTable();
    return table;
}

const TResourceSpec* FindBitmapResource(const std::string& name) {
    for (const TResourceSpec& spec : BitmapResources()) {
        if (spec.name == name) {
            return &spec;
        }
    }
    return nullptr;
}

TImage PaintBitmapResource(const TResourceSpec& spec) {
    TImage image = spec.paint();
    if (spec.surface == TSurface::Keyed) {
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
