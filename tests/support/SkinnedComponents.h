#pragma once

// The look every skinned component of a window reports, found through the published UIStyle and
// FileTheme properties: the components the window owns, the parts those own in turn (a spin
// edit's buttons, a title bar, its system menu) and the title-bar buttons. Two kinds of part are
// left out because their look plays no part in how they are drawn: image buttons (a scroll bar's
// line buttons) paint pictures given to them and always read FromThemeFile, and a scroll bar's
// track takes its slider from the bar and keeps the look it was made with. Header-only, so that
// only test programs that link the skinned frame need it.

#include "skin/core/SUIThemes.h"
#include "skin/frame/SUITitleBar.h"
#include "toolkit/components/ClassInfo.h"
#include "toolkit/components/Component.h"
#include "toolkit/components/Properties.h"

#include <string>
#include <vector>

struct TReportedLook {
    std::string Component; // "Name: Class", or the title bar's "Buttons[i]"
    TsuiUIStyle Style;
    const TObject* FileTheme; // none for a component without the property
};

inline void CollectReportedLooks(const TComponent* owner, std::vector<TReportedLook>& out) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        const TComponent* component = owner->Components(i);
        const TClassInfo& info = component->ClassInfo();
        const std::string name = component->Name() + ": " + info.Name();
        if (component->InheritsFrom("TsuiImageButton") || component->InheritsFrom("TsuiScrollTrackBar")) {
            continue;
        }
        if (const TPropInfo* style = info.FindProperty("UIStyle");
            style && style->Kind() == TPropKind::Enumeration) {
            const TPropInfo* theme = info.FindProperty("FileTheme");
            out.push_back({name, static_cast<TsuiUIStyle>(style->GetOrd(component)),
                           theme ? theme->GetObject(component) : nullptr});
        }
        if (const auto* bar = dynamic_cast<const TsuiTitleBar*>(component)) {
            for (int b = 0; b < bar->Buttons()->Count(); ++b) {
                out.push_back({name + " Buttons[" + std::to_string(b) + "]",
                               bar->Buttons()->Items(b)->UIStyle(), nullptr});
            }
        }
        CollectReportedLooks(component, out);
    }
}

inline std::vector<TReportedLook> ReportedLooks(const TComponent* owner) {
    std::vector<TReportedLook> out;
    CollectReportedLooks(owner, out);
    return out;
}
