// Feeds arbitrary text to the layout reader with the menu classes known: menus nested in items,
// items nested in other items, in menus or in nothing, short-cuts as numbers and as text, image
// lists coming and going. Invariants: whatever loads is a well-formed tree (every item's parent
// lists it, and every listed item names its parent), and a layout that loads, once written back,
// loads again and writes the same text.

#include "toolkit/components/LayoutReader.h"
#include "toolkit/components/LayoutWriter.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/menus/Menu.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace {

class TFuzzMenuWindow : public TComponent {
    VARNEL_CLASS(TFuzzMenuWindow, TComponent)

public:
    explicit TFuzzMenuWindow(TComponent* owner) : TComponent(owner) {}
    void ItemClick(TObject*) {}
};

void CheckTree(const TMenuItem* parent, int depth) {
    if (depth > 1000) {
        __builtin_trap();
    }
    for (int i = 0; i < parent->Count(); ++i) {
        const TMenuItem* item = parent->Items(i);
        if (!item || item->Parent() != parent || parent->IndexOf(item) != i) {
            __builtin_trap();
        }
        CheckTree(item, depth + 1);
    }
}

void CheckWindow(const TComponent& window) {
    for (int i = 0; i < window.ComponentCount(); ++i) {
        const TComponent* c = window.Components(i);
        if (c->InheritsFrom<TMenu>()) {
            CheckTree(static_cast<const TMenu*>(c)->Items(), 0);
        }
        if (c->InheritsFrom<TMenuItem>()) {
            const auto* item = static_cast<const TMenuItem*>(c);
            if (item->Parent() && item->Parent()->IndexOf(item) < 0) {
                __builtin_trap();
            }
        }
    }
}

} // namespace

VARNEL_CLASS_INFO(TFuzzMenuWindow, [](auto& c) { c.Handler("ItemClick", &TFuzzMenuWindow::ItemClick); })

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        RegisterMenuClasses();
        RegisterClasses<TFuzzMenuWindow, TImageList>();
        return true;
    }();
    (void)registered;

    std::string_view text(reinterpret_cast<const char*>(data), size);
    TFuzzMenuWindow window(nullptr);
    TLayoutError error;
    if (!ReadLayoutText(&window, text, "fuzz.lfm", &error)) {
        return 0;
    }
    CheckWindow(window);
    const std::string written = WriteLayoutText(&window);
    TFuzzMenuWindow copy(nullptr);
    if (!ReadLayoutText(&copy, written, "written.lfm", &error)) {
        __builtin_trap();
    }
    CheckWindow(copy);
    if (WriteLayoutText(&copy) != written) {
        __builtin_trap();
    }
    return 0;
}
