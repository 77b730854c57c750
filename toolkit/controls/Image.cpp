#include "toolkit/controls/Image.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Picture.h"

#include <algorithm>

VARNEL_CLASS_INFO(TImage, [](auto& c) {
    for (const char* name :
         {"Align", "Anchors", "AutoSize", "Constraints", "Enabled", "ParentShowHint", "PopupMenu", "ShowHint",
          "Visible", "OnClick", "OnContextPopup", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp"}) {
        c.Publish(name);
    }
    c.Bool("Center", &TImage::Center, &TImage::SetCenter).Default(false);
    c.Object("Picture", &TImage::Picture, &TImage::SetPicture);
    c.Bool("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false);
    c.Bool("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
    c.Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
})

TImage::TImage(TComponent* owner) : TGraphicControl(owner), m_picture(std::make_unique<TPicture>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    m_picture->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(Left(), Top(), 105, 105);
}

TImage::~TImage() {
    m_picture->OnChange = nullptr;
}

void TImage::SetPicture(const TPicture* value) {
    m_picture->Assign(value);
}

void TImage::SetCenter(bool value) {
    if (value == m_center) {
        return;
    }
    m_center = value;
    PictureChanged();
}

void TImage::SetStretch(bool value) {
    if (value == m_stretch) {
        return;
    }
    m_stretch = value;
    PictureChanged();
}

void TImage::SetProportional(bool value) {
    if (value == m_proportional) {
        return;
    }
    m_proportional = value;
    PictureChanged();
}

void TImage::SetTransparent(bool value) {
    if (value == m_transparent) {
        return;
    }
    m_transparent = value;
    PictureChanged();
}

TCanvas* TImage::PictureCanvas() {
    if (m_picture->Empty() || !dynamic_cast<TBitmap*>(m_picture->Graphic())) {
        auto bitmap = std::make_unique<TBitmap>(std::max(Width(), 1), std::max(Height(), 1));
        m_picture->SetGraphic(bitmap.get());
    }
    return m_picture->Bitmap()->Canvas();
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
    if (m_picture->Width() > 0 && m_picture->Height() > 0) {
        if (Align() == alNone || Align() == alLeft || Align() == alRight) {
            newWidth = m_picture->Width();
        }
        if (Align() == alNone || Align() == alTop || Align() == alBottom) {
            newHeight = m_picture->Height();
        }
    }
    return true;
}

void TImage::PictureChanged() {
    if (AutoSize() && m_picture->Width() > 0 && m_picture->Height() > 0) {
        SetBounds(Left(), Top(), m_picture->Width(), m_picture->Height());
    }
    TGraphic* graphic = m_picture->Graphic();
    bool opaque = false;
    if (graphic) {
        // An icon keeps its own mask; other pictures follow the control's Transparent.
        if (!dynamic_cast<TIcon*>(graphic) && graphic->Transparent() != m_transparent) {
            graphic->SetTransparent(m_transparent);
        }
        opaque = !graphic->Transparent() &&
                 (m_stretch || (graphic->Width() >= Width() && graphic->Height() >= Height())) && !m_center;
    }
    SetControlStyle(opaque ? ControlStyle() + TControlStyle{csOpaque}
                           : ControlStyle() - TControlStyle{csOpaque});
    if (!m_drawing) {
        // The old picture may have covered more than the new one: the parent paints again.
        InvalidateControl(Visible(), false);
    }
}

TRect TImage::DestRect() const {
    int w = m_picture->Width();
    int h = m_picture->Height();
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    if (m_stretch || (m_proportional && (w > cw || h > ch))) {
        if (m_proportional && w > 0 && h > 0) {
            // Scale to fit one side, keeping the proportions.
            if (static_cast<long long>(w) * ch > static_cast<long long>(h) * cw) {
                h = static_cast<int>(static_cast<long long>(h) * cw / w);
                w = cw;
            } else {
                w = static_cast<int>(static_cast<long long>(w) * ch / h);
                h = ch;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r{0, 0, w, h};
    if (m_center) {
        r = r.Offset((cw - w) / 2, (ch - h) / 2);
    }
    return r;
}

void TImage::Paint() {
    TGraphic* graphic = m_picture->Graphic();
    if (!graphic || graphic->Empty()) {
        return;
    }
    m_drawing = true;
    Canvas()->StretchDraw(DestRect(), graphic);
    m_drawing = false;
}
