#include "toolkit/graphics/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

// Drawing runs on the user-interface thread only, so the table needs no lock.
struct TGdiTable {
    std::unordered_map<std::uintptr_t, std::unique_ptr<TGdiObject>> Objects;
    // Ids start high so that small numbers, which classic code passes as system colour brushes
    // (COLOR_WINDOW + 1), are never handles.
    std::uintptr_t NextId = 0x10000;
};

TGdiTable& Table() {
    static TGdiTable table;
    return table;
}

} // namespace

TFontRequest FontRequestFromLogFont(const LOGFONT& font) {
    TFontRequest request;
    request.Name.assign(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
    request.Height = font.lfHeight;
    if (font.lfWeight >= FW_SEMIBOLD) {
        request.Style.Include(fsBold);
    }
    if (font.lfItalic) {
        request.Style.Include(fsItalic);
    }
    if (font.lfUnderline) {
        request.Style.Include(fsUnderline);
    }
    if (font.lfStrikeOut) {
        request.Style.Include(fsStrikeOut);
    }
    return request;
}

LOGFONT LogFontFromRequest(const TFontRequest& request) {
    LOGFONT font;
    font.lfHeight = request.Height;
    font.lfWeight = request.Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = request.Style.Contains(fsItalic) ? 1 : 0;
    font.lfUnderline = request.Style.Contains(fsUnderline) ? 1 : 0;
    font.lfStrikeOut = request.Style.Contains(fsStrikeOut) ? 1 : 0;
    std::size_t n = std::min<std::size_t>(request.Name.size(), LF_FACESIZE - 1);
    std::memcpy(font.lfFaceName, request.Name.data(), n);
    return font;
}

namespace gdi {

HGDIOBJ Add(TGdiObject object) {
    TGdiTable& table = Table();
    std::uintptr_t id = table.NextId++;
    table.Objects.emplace(id, std::make_unique<TGdiObject>(std::move(object)));
    return reinterpret_cast<HGDIOBJ>(id);
}

TGdiObject* Find(HGDIOBJ handle) {
    TGdiTable& table = Table();
    auto it = table.Objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == table.Objects.end() ? nullptr : it->second.get();
}

bool Delete(HGDIOBJ handle, bool deferred) {
    TGdiTable& table = Table();
    auto it = table.Objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == table.Objects.end()) {
        return false;
    }
    TGdiObject& object = *it->second;
    if (object.Stock) {
        return true;
    }
    if (auto* bitmap = std::get_if<TBitmapData>(&object.Data); bitmap && bitmap->SelectedInto > 0) {
        if (!deferred) {
            return false;
        }
        bitmap->DeleteWhenFree = true;
        return true;
    }
    table.Objects.erase(it);
    return true;
}

std::size_t ObjectCount() {
    return Table().Objects.size();
}

} // namespace gdi
