#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/frame/SUILookSource.h"
#include "skin/frame/SUITitleBar.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/windowing/WinUser.h"

// The title bar's items: sections, buttons, their collections, and the pure layout of the buttons
// and the caption that painting and the mouse handling share.

VARNEL_CLASS_INFO(TsuiTitleBarSection, [](auto& c) {
    c.Bool("AutoSize", &TsuiTitleBarSection::AutoSize, &TsuiTitleBarSection::SetAutoSize);
    c.Int("Width", &TsuiTitleBarSection::Width, &TsuiTitleBarSection::SetWidth);
    c.Enum("Align", TitleBarAlignInfo, &TsuiTitleBarSection::Align, &TsuiTitleBarSection::SetAlign);
    c.Object("Picture", &TsuiTitleBarSection::Picture, &TsuiTitleBarSection::SetPicture);
    c.Bool("Stretch", &TsuiTitleBarSection::Stretch, &TsuiTitleBarSection::SetStretch);
})

VARNEL_CLASS_INFO(TsuiTitleBarButton, [](auto& c) {
    c.Enum("UIStyle", UIStyleInfo, &TsuiTitleBarButton::UIStyle, &TsuiTitleBarButton::SetUIStyle);
    c.Enum("ButtonType", TitleBarBtnTypeInfo, &TsuiTitleBarButton::ButtonType,
           &TsuiTitleBarButton::SetButtonType);
    c.Bool("Transparent", &TsuiTitleBarButton::Transparent, &TsuiTitleBarButton::SetTransparent);
    c.Int("Top", &TsuiTitleBarButton::Top, &TsuiTitleBarButton::SetTop);
    c.Component("ControlBoxMenu", &TsuiTitleBarButton::ControlBoxMenu,
                &TsuiTitleBarButton::SetControlBoxMenu);
    c.Bool("Visible", &TsuiTitleBarButton::Visible, &TsuiTitleBarButton::SetVisible);
    c.Object("PicNormal", &TsuiTitleBarButton::PicNormal, &TsuiTitleBarButton::SetPicNormal);
    c.Object("PicMouseOn", &TsuiTitleBarButton::PicMouseOn, &TsuiTitleBarButton::SetPicMouseOn);
    c.Object("PicMouseDown", &TsuiTitleBarButton::PicMouseDown, &TsuiTitleBarButton::SetPicMouseDown);
})

VARNEL_CLASS_INFO(TsuiTitleBarSections)
VARNEL_CLASS_INFO(TsuiTitleBarButtons)

namespace {

// The first of the three frames (normal, hover, pressed) of each button type in the look's
// 18-frame strip of title-bar buttons.
constexpr int kFirstFrame[] = {7, 13, 16, 4, 1, 0}; // suiMax, suiMin, suiClose, suiHelp, suiControlBox
constexpr int kRestoreFirstFrame = 10;
constexpr int kButtonFrames = 18;

} // namespace

// ---- Sections --------------------------------------------------------------------------------------

TsuiTitleBarSection::TsuiTitleBarSection(TCollection* collection)
    : TCollectionItem(collection), m_picture(std::make_unique<TPicture>()) {}

TsuiTitleBarSection::~TsuiTitleBarSection() = default;

void TsuiTitleBarSection::SetAutoSize(bool value) {
    m_autoSize = value;
    if (!m_picture->Empty()) {
        m_width = m_picture->Width();
    }
    Changed(false);
}

void TsuiTitleBarSection::SetWidth(int value) {
    m_width = value;
    Changed(false);
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign value) {
    if (value == suiClient) {
        for (int i = 0; Collection() && i < Collection()->Count(); ++i) {
            const auto* other = static_cast<const TsuiTitleBarSection*>(Collection()->Items(i));
            if (other->m_align == suiClient) {
                ShowErrorBox("Sorry, only one section's Align property can be \"suiClient\"");
                return;
            }
        }
        m_stretch = true;
    }
    m_align = value;
    Changed(false);
}

void TsuiTitleBarSection::SetPicture(const TPicture* value) {
    m_picture->Assign(value);
    if (value && m_autoSize) {
        m_width = m_picture->Width();
    }
    Changed(false);
}

void TsuiTitleBarSection::SetStretch(bool value) {
    m_stretch = m_align == suiClient ? true : value;
    Changed(false);
}

void TsuiTitleBarSection::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TsuiTitleBarSection*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetWidth(other->m_width);
    SetAlign(other->m_align);
    SetPicture(other->m_picture.get());
    SetStretch(other->m_stretch);
    SetAutoSize(other->m_autoSize);
}

TsuiTitleBarSections::TsuiTitleBarSections(TsuiTitleBar* titleBar)
    : TTypedCollection<TsuiTitleBarSection>(titleBar), m_titleBar(titleBar) {}

void TsuiTitleBarSections::Update(TCollectionItem* /*item*/) {
    if (m_titleBar) {
        m_titleBar->Invalidate();
    }
}

// ---- Buttons ---------------------------------------------------------------------------------------

TsuiTitleBarButton::TsuiTitleBarButton(TCollection* collection)
    : TCollectionItem(collection), m_picNormal(std::make_unique<TPicture>()),
      m_picMouseOn(std::make_unique<TPicture>()), m_picMouseDown(std::make_unique<TPicture>()) {
    SetUIStyle(DeepBlue);
}

TsuiTitleBarButton::~TsuiTitleBarButton() = default;

TsuiTitleBar* TsuiTitleBarButton::TitleBar() const {
    const auto* buttons = dynamic_cast<const TsuiTitleBarButtons*>(Collection());
    return buttons ? buttons->TitleBar() : nullptr;
}

void TsuiTitleBarButton::Repaint() {
    Changed(false);
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle value) {
    m_uiStyle = value;
    ApplyStyle();
    Repaint();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType value) {
    if (value == suiControlBox) {
        for (int i = 0; Collection() && i < Collection()->Count(); ++i) {
            const auto* other = static_cast<const TsuiTitleBarButton*>(Collection()->Items(i));
            if (other->m_buttonType == suiControlBox) {
                ShowErrorBox("Sorry, only one button's ButtonType property can be \"suiControlBox\"");
                return;
            }
        }
    }
    m_buttonType = value;
    ApplyStyle();
    Repaint();
}

void TsuiTitleBarButton::SetTransparent(bool value) {
    m_transparent = value;
    Repaint();
}

void TsuiTitleBarButton::SetTop(int value) {
    m_top = value;
    Repaint();
}

void TsuiTitleBarButton::SetControlBoxMenu(TPopupMenu* value) {
    m_controlBoxMenu = value;
    // The bar hears when the menu is freed and drops it from its buttons.
    if (TsuiTitleBar* bar = TitleBar(); bar && value) {
        value->FreeNotification(bar);
    }
}

void TsuiTitleBarButton::SetVisible(bool value) {
    m_visible = value;
    Repaint();
}

void TsuiTitleBarButton::SetPicNormal(const TPicture* value) {
    m_picNormal->Assign(value);
    Repaint();
}

void TsuiTitleBarButton::SetPicMouseOn(const TPicture* value) {
    m_picMouseOn->Assign(value);
    Repaint();
}

void TsuiTitleBarButton::SetPicMouseDown(const TPicture* value) {
    m_picMouseDown->Assign(value);
    Repaint();
}

void TsuiTitleBarButton::LoadFrames(int first) {
    const TsuiTitleBar* bar = TitleBar();
    const TsuiLookSource look(bar ? bar->FileTheme() : nullptr, m_uiStyle);
    TPicture* pictures[] = {m_picNormal.get(), m_picMouseOn.get(), m_picMouseDown.get()};
    for (int i = 0; i < 3; ++i) {
        TBitmap frame;
        look.Bitmap(TsuiThemeElement::TitleBarButtonImage, &frame, first + i, kButtonFrames);
        pictures[i]->SetGraphic(&frame);
    }
}

void TsuiTitleBarButton::ApplyStyle() {
    const TsuiTitleBar* bar = TitleBar();
    const TsuiLookSource look(bar ? bar->FileTheme() : nullptr, m_uiStyle);
    m_transparent = look.Bool(TsuiThemeElement::TitleBarButtonTransparentBool);
    if (m_buttonType == suiCustom) {
        return;
    }
    LoadFrames(kFirstFrame[m_buttonType]);
    m_top = look.Int(TsuiThemeElement::TitleBarButtonTopInt);
    if (m_buttonType == suiMax) {
        UpdateMaxGlyph();
    }
}

void TsuiTitleBarButton::UpdateMaxGlyph() {
    TsuiTitleBar* bar = TitleBar();
    if (m_buttonType != suiMax || (bar && bar->Custom())) {
        return;
    }
    const TCustomForm* form = bar ? GetParentForm(bar) : nullptr;
    const bool maximized = form && form->WindowState() == wsMaximized;
    LoadFrames(maximized ? kRestoreFirstFrame : kFirstFrame[suiMax]);
}

void TsuiTitleBarButton::DoClick() {
    TsuiTitleBar* bar = TitleBar();
    TCustomForm* form = bar ? GetParentForm(bar) : nullptr;
    if (!bar || !form) {
        return;
    }
    switch (m_buttonType) {
    case suiMax: {
        auto alive = bar->AliveToken();
        if (form->WindowState() == wsMaximized) {
            form->SetWindowState(wsNormal);
        } else {
            form->SetWindowState(wsMaximized);
            // A skinned form fits its maximised window to the work area itself.
            if (!alive.expired() && !bar->IsOnSkinnedForm()) {
                TRect area;
                GetWorkAreaRect(area);
                area.Bottom -= 1;
                SetFormBoundsRect(form, area);
            }
        }
        if (!alive.expired()) {
            UpdateMaxGlyph();
        }
        break;
    }
    case suiMin:
        if (form == Application->MainForm()) {
            ::SendMessage(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else {
            ::ShowWindow(form->Handle(), SW_SHOWMINIMIZED);
        }
        break;
    case suiClose:
        form->Close();
        break;
    case suiControlBox:
        if (m_controlBoxMenu) {
            const TPoint p = bar->ClientToScreen({0, bar->Height()});
            m_controlBoxMenu->Popup(p.X, p.Y);
        }
        break;
    case suiHelp:
    case suiCustom:
        break;
    }
}

void TsuiTitleBarButton::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TsuiTitleBarButton*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetVisible(other->m_visible);
    SetButtonType(other->m_buttonType);
    SetTransparent(other->m_transparent);
    SetTop(other->m_top);
    SetUIStyle(other->m_uiStyle);
    // The source's pictures win over what its type and look loaded here.
    m_picNormal->Assign(other->m_picNormal.get());
    m_picMouseOn->Assign(other->m_picMouseOn.get());
    m_picMouseDown->Assign(other->m_picMouseDown.get());
    SetControlBoxMenu(other->m_controlBoxMenu);
    Repaint();
}

TsuiTitleBarButtons::TsuiTitleBarButtons(TsuiTitleBar* titleBar)
    : TTypedCollection<TsuiTitleBarButton>(titleBar), m_titleBar(titleBar) {}

bool TsuiTitleBarButtons::HasType(TsuiTitleBarBtnType type) const {
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->ButtonType() == type) {
            return true;
        }
    }
    return false;
}

void TsuiTitleBarButtons::Update(TCollectionItem* /*item*/) {
    if (m_titleBar) {
        m_titleBar->Invalidate();
    }
}

// ---- Layout ----------------------------------------------------------------------------------------

TsuiTitleBarLayout LayoutTitleBar(const TsuiTitleBarButtons& buttons, int barWidth, int leftOffset,
                                  int rightOffset, int buttonInterval, bool drawAppIcon) {
    TsuiTitleBarLayout layout;
    // The first button of the collection is the right-most; each next one lies the interval
    // and one pixel further left.
    int right = barWidth + rightOffset + 1;
    int box = -1;
    for (int i = 0; i < buttons.Count(); ++i) {
        const TsuiTitleBarButton* button = buttons.Items(i);
        if (!button->Visible()) {
            continue;
        }
        if (button->ButtonType() == suiControlBox) {
            box = i;
            continue;
        }
        const int width = button->PicNormal()->Width();
        right -= width + buttonInterval + 1;
        layout.Buttons.push_back(
            {i, {right, button->Top(), right + width, button->Top() + button->PicNormal()->Height()}});
    }
    int left = leftOffset;
    if (box >= 0) {
        const TsuiTitleBarButton* button = buttons.Items(box);
        const int width = button->PicNormal()->Width();
        layout.Buttons.push_back(
            {box, {left, button->Top(), left + width, button->Top() + button->PicNormal()->Height()}});
        layout.ControlBox = box;
        left += drawAppIcon ? 21 : width + 5;
    }
    layout.CaptionLeft = left == 0 ? 6 : left;
    layout.CaptionRight = right;
    return layout;
}

int TitleBarButtonAt(const TsuiTitleBarLayout& layout, TPoint p) {
    int hot = -1;
    for (const TsuiTitleBarLayout::TButtonPlace& place : layout.Buttons) {
        if (PointInRect(p, place.Rect)) {
            hot = place.Index;
        }
    }
    return hot;
}

std::string FitCaption(const std::string& caption, int width,
                       const std::function<int(std::string_view)>& measure) {
    if (measure(caption) <= width) {
        return caption;
    }
    std::string text = caption;
    while (!text.empty()) {
        // One character off the end: a whole UTF-8 sequence, its continuation bytes first.
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
            text.pop_back();
        }
        if (!text.empty()) {
            text.pop_back();
        }
        if (measure(text + "...") <= width) {
            return text + "...";
        }
    }
    return std::string();
}
