#include "skin/controls/SUIImagePanel.h"

#include "skin/core/SUIPublic.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"

#include <string_view>

VARNEL_CLASS_INFO(TsuiCustomPanel, [](auto& c) {
    c.Object("Picture", &TsuiCustomPanel::Picture, &TsuiCustomPanel::SetPicture).Unpublished();
    c.Bool("Transparent", &TsuiCustomPanel::Transparent, &TsuiCustomPanel::SetTransparent)
        .Default(false)
        .Unpublished();
    c.Enum("DrawStyle", DrawStyleInfo, &TsuiCustomPanel::DrawStyle, &TsuiCustomPanel::SetDrawStyle)
        .Default(suiNormal)
        .Unpublished();
})

VARNEL_CLASS_INFO(TsuiImagePanel, [](auto& c) {
    for (const char* name :
         {"Align",    "Anchors",    "BiDiMode",       "BorderWidth", "Caption",     "Color",
          "Font",     "PopupMenu",  "TabOrder",       "TabStop",     "Visible",     "OnCanResize",
          "OnClick",  "OnDblClick", "OnContextPopup", "OnMouseDown", "OnMouseMove", "OnMouseUp",
          "OnResize", "Picture",    "Transparent",    "AutoSize",    "Alignment",   "DrawStyle"}) {
        c.Publish(name);
    }
})

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

// ---- The off-screen picture ------------------------------------------------------------------------

TsuiPaintBuffer::TsuiPaintBuffer(int width, int height) : m_bitmap(std::make_unique<TBitmap>()) {
    m_bitmap->SetSize(std::max(0, width), std::max(0, height));
}

TsuiPaintBuffer::~TsuiPaintBuffer() = default;

TCanvas* TsuiPaintBuffer::Canvas() {
    return m_bitmap->Canvas();
}

void TsuiPaintBuffer::CopyTo(TCanvas* target) {
    const TRect all{0, 0, m_bitmap->Width(), m_bitmap->Height()};
    target->CopyRect(all, m_bitmap->Canvas(), all);
}

// ---- The panel ----------------------------------------------------------------------------------------

TsuiCustomPanel::TsuiCustomPanel(TComponent* owner)
    : TCustomPanel(owner), m_picture(std::make_unique<TPicture>()) {
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    m_picture->OnChange = [this](TObject*) { PictureChanged(); };
}

TsuiCustomPanel::~TsuiCustomPanel() {
    // The picture goes before the window: its last change must not reach a half-destroyed panel.
    m_picture->OnChange = nullptr;
}

void TsuiCustomPanel::SetPicture(const TPicture* value) {
    // The change notification repaints.
    m_picture->Assign(value);
}

void TsuiCustomPanel::SetTransparent(bool value) {
    if (value == m_transparent) {
        return;
    }
    m_transparent = value;
    if (!m_picture->Empty()) {
        m_picture->Graphic()->SetTransparent(value);
    }
    Invalidate();
}

void TsuiCustomPanel::SetAutoSize(bool value) {
    if (value == AutoSize()) {
        return;
    }
    TCustomPanel::SetAutoSize(value);
    if (!m_picture->Empty()) {
        ApplyAutoSize();
    }
    Invalidate();
}

void TsuiCustomPanel::SetDrawStyle(TsuiDrawStyle value) {
    if (value == m_drawStyle) {
        return;
    }
    m_drawStyle = value;
    Invalidate();
}

void TsuiCustomPanel::ApplyAutoSize() {
    if (!AutoSize()) {
        return;
    }
    // An aligned side belongs to the parent.
    const TAlign align = Align();
    int width = Width();
    int height = Height();
    if (align != alTop && align != alBottom && align != alClient) {
        width = m_picture->Width();
    }
    if (align != alLeft && align != alRight && align != alClient) {
        height = m_picture->Height();
    }
    SetBounds(Left(), Top(), width, height);
}

void TsuiCustomPanel::PictureChanged() {
    if (!m_picture->Empty()) {
        ApplyAutoSize();
        m_picture->Graphic()->SetTransparent(m_transparent);
    }
    Invalidate();
}

void TsuiCustomPanel::FillBackground(TCanvas* canvas) {
    if (Parent() || !ParentWindow()) {
        return;
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
}

void TsuiCustomPanel::CaptionAreaChanged(const TRect& /*lastCaptionRect*/) {}

void TsuiCustomPanel::PaintParentBackground(TCanvas* canvas) {
    DrawParentBackground(canvas, this);
}

void TsuiCustomPanel::Paint() {
    const TRect client = ClientRect();
    TsuiPaintBuffer buffer(Width(), Height());
    TCanvas* canvas = buffer.Canvas();
    if (m_transparent) {
        PaintParentBackground(canvas);
    } else {
        // Also under a picture: where a plain picture does not reach, the panel shows its colour.
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    if (!m_picture->Empty()) {
        switch (m_drawStyle) {
        case suiStretch:
            canvas->StretchDraw(client, m_picture->Graphic());
            break;
        case suiTile:
            TileDrawPicture(canvas, m_picture.get(), client);
            break;
        case suiNormal:
            canvas->Draw(0, 0, m_picture->Graphic());
            break;
        }
    }
    m_captionRect = {};
    const std::string_view caption = Trimmed(Caption());
    if (!caption.empty()) {
        canvas->SetFont(Font());
        canvas->Brush()->SetStyle(bsClear);
        static constexpr unsigned kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
        TRect rect = client;
        ::DrawText(canvas->Handle(), Caption(), &rect, DT_SINGLELINE | DT_VCENTER | kAlignments[Alignment()]);
        m_captionRect = rect;
    }
    buffer.CopyTo(Canvas());
}

void TsuiCustomPanel::Resize() {
    TCustomPanel::Resize();
    Invalidate();
}

void TsuiCustomPanel::WMEraseBkgnd(TMessage& message) {
    // Painting covers everything off-screen; erasing first would only flicker.
    if (HDC dc = reinterpret_cast<HDC>(message.WParam)) {
        TCanvas canvas(dc);
        FillBackground(&canvas);
    }
    message.Result = 1;
}

void TsuiCustomPanel::CMTextChanged(TMessage& message) {
    CaptionAreaChanged(m_captionRect);
    TCustomPanel::CMTextChanged(message);
    Invalidate();
}
