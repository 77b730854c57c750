#include "skin/controls/SUIScrollBar.h"

#include "skin/controls/SUIImageButton.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"

#include <algorithm>
#include <utility>

VARNEL_CLASS_INFO(TsuiScrollBar, [](auto& c) {
    // Every value is written, whatever it is.
    c.Component("FileTheme", &TsuiScrollBar::FileTheme, &TsuiScrollBar::SetFileTheme);
    c.Int("LineButton", &TsuiScrollBar::LineButton, &TsuiScrollBar::SetLineButton);
    c.Enum("Orientation", ProgressBarOrientationInfo, &TsuiScrollBar::Orientation,
           &TsuiScrollBar::SetOrientation);
    c.Enum("UIStyle", UIStyleInfo, &TsuiScrollBar::UIStyle, &TsuiScrollBar::SetUIStyle);
    c.Int("Max", &TsuiScrollBar::Max, &TsuiScrollBar::SetMax);
    c.Int("Min", &TsuiScrollBar::Min, &TsuiScrollBar::SetMin);
    c.Int("Position", &TsuiScrollBar::Position, &TsuiScrollBar::SetPosition);
    c.Int("SmallChange", &TsuiScrollBar::SmallChange, &TsuiScrollBar::SetSmallChange);
    c.Int("LargeChange", &TsuiScrollBar::LargeChange, &TsuiScrollBar::SetLargeChange);
    c.Int("PageSize", &TsuiScrollBar::PageSize, &TsuiScrollBar::SetPageSize);
    c.Event("OnChange", &TsuiScrollBar::OnChange, &TsuiScrollBar::SetOnChange);
    for (const char* name :
         {"Align", "Anchors", "BiDiMode", "Color", "Constraints", "Enabled", "ParentBiDiMode", "ParentColor",
          "ParentShowHint", "PopupMenu", "ShowHint", "Visible", "OnContextPopup", "OnEnter", "OnExit"}) {
        c.Publish(name);
    }
})

namespace {

// The slice of the button image each button picture takes: normal, mouse over, pressed.
constexpr int kButtonSlices = 6;
constexpr int kSliderSlices = 3;
constexpr int kLineButtonRepeatMs = 100;
// The shortest slider a fixed length gives.
constexpr int kMinLineButton = 18;

void SetButtonPicture(TsuiImageButton* button, void (TsuiImageButton::*setter)(const TPicture*),
                      const TBitmap& bitmap) {
    TPicture picture;
    if (!bitmap.Empty()) {
        picture.SetGraphic(&bitmap);
    }
    (button->*setter)(&picture);
}

} // namespace

// ---- Life ------------------------------------------------------------------------------------------

TsuiScrollBar::TsuiScrollBar(TComponent* owner)
    : TCustomPanel(owner), m_look(this, GetOwnerUIStyle(owner)), m_sliderHead(std::make_unique<TBitmap>()),
      m_sliderBody(std::make_unique<TBitmap>()), m_sliderTail(std::make_unique<TBitmap>()) {
    // The bar holds only its own parts, and its caption stays empty.
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption});
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);

    m_track = new TsuiScrollTrackBar(this);
    m_track->SetParent(this);
    m_track->SetShowTick(false);
    m_track->SetTabStop(false);
    m_track->SetTransparent(false);
    m_track->SetMax(100);

    auto makeButton = [this](int direction) {
        auto* button = new TsuiImageButton(this);
        button->SetParent(this);
        button->SetTabStop(false);
        button->SetMouseContinuouslyDownInterval(kLineButtonRepeatMs);
        button->OnMouseContinuouslyDown = [this, direction](TObject*) { Step(direction); };
        return button;
    };
    m_firstButton = makeButton(-1);
    m_secondButton = makeButton(1);

    SetHeight(185);
    // Laid out only once the buttons have their pictures, and so their size.
    m_partsReady = true;
    SetUIStyle(UIStyle());
    PlaceParts();
}

TsuiScrollBar::~TsuiScrollBar() {
    // Buttons first, then the track: their events point here.
    delete m_firstButton;
    delete m_secondButton;
    delete m_track;
    m_firstButton = m_secondButton = nullptr;
    m_track = nullptr;
}

void TsuiScrollBar::SetUIStyle(TsuiUIStyle value) {
    m_look.SetUIStyle(value);
    m_track->SetColor(Color());
    LoadPictures();
    PlaceParts();
}

void TsuiScrollBar::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    SetUIStyle(UIStyle());
}

void TsuiScrollBar::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TsuiScrollBar::SetOrientation(TsuiProgressBarOrientation value) {
    if (value == m_orientation) {
        return;
    }
    m_orientation = value;
    LoadPictures();
    PlaceParts();
}

void TsuiScrollBar::CreateParams(TCreateParams& params) {
    TCustomPanel::CreateParams(params);
    // Its parts are not placed by the user, but it must not paint over them.
    params.Style |= WS_CLIPCHILDREN;
}

void TsuiScrollBar::Loaded() {
    TCustomPanel::Loaded();
    m_track->ApplyLoadedValues(std::exchange(m_loadValues, {}));
    m_inLoaded = true;
    PlaceParts();
    m_inLoaded = false;
}

// ---- The look ------------------------------------------------------------------------------------

void TsuiScrollBar::LoadPictures() {
    // The scroll track shows its colour, never a bar picture.
    m_track->SetBarImage(nullptr);
    SetColor(m_look.GetColor(TsuiThemeElement::ScrollBarBackgroundColor));
    m_look.GetBitmap(TsuiThemeElement::ScrollBarSliderImage, m_sliderHead.get(), 1, kSliderSlices);
    m_look.GetBitmap(TsuiThemeElement::ScrollBarSliderImage, m_sliderBody.get(), 2, kSliderSlices);
    m_look.GetBitmap(TsuiThemeElement::ScrollBarSliderImage, m_sliderTail.get(), 3, kSliderSlices);

    // The pictures are drawn for a vertical bar; a horizontal one turns them to point sideways.
    using TSetter = void (TsuiImageButton::*)(const TPicture*);
    const std::pair<TsuiImageButton*, TSetter> targets[kButtonSlices] = {
        {m_firstButton, &TsuiImageButton::SetPicNormal},
        {m_firstButton, &TsuiImageButton::SetPicMouseOn},
        {m_firstButton, &TsuiImageButton::SetPicMouseDown},
        {m_secondButton, &TsuiImageButton::SetPicNormal},
        {m_secondButton, &TsuiImageButton::SetPicMouseOn},
        {m_secondButton, &TsuiImageButton::SetPicMouseDown}};
    for (int slice = 1; slice <= kButtonSlices; ++slice) {
        TBitmap bitmap;
        m_look.GetBitmap(TsuiThemeElement::ScrollBarButtonImage, &bitmap, slice, kButtonSlices);
        if (m_orientation == suiHorizontal) {
            RotateBitmapAnticlockwise(&bitmap);
        }
        SetButtonPicture(targets[slice - 1].first, targets[slice - 1].second, bitmap);
    }
    if (m_orientation == suiVertical) {
        RotateBitmapClockwise(m_sliderHead.get());
        RotateBitmapClockwise(m_sliderBody.get());
        RotateBitmapClockwise(m_sliderTail.get());
    }
    m_firstButton->SetAutoSize(true);
    m_secondButton->SetAutoSize(true);
    Invalidate();
}

// ---- Layout ---------------------------------------------------------------------------------------

void TsuiScrollBar::Resize() {
    TCustomPanel::Resize();
    PlaceParts();
}

void TsuiScrollBar::CMEnabledChanged(TMessage& message) {
    if (!Enabled()) {
        // The parts keep their own Enabled: the track is told to end what the mouse began.
        m_track->Perform(WM_CANCELMODE);
    }
    TCustomPanel::CMEnabledChanged(message);
}

void TsuiScrollBar::CMVisibleChanged(TMessage& message) {
    if (!Visible()) {
        m_track->Perform(WM_CANCELMODE);
    }
    // Hidden or shown by someone else: a later resize leaves that as it is.
    if (!m_placing) {
        m_hiddenForNoRoom = false;
    }
    TCustomPanel::CMVisibleChanged(message);
}

void TsuiScrollBar::PlaceParts() {
    // Fitting the bar's thickness resizes it, which would lay it out again from the middle of
    // this layout.
    if (!m_partsReady || m_placing || (IsLoading() && !m_inLoaded)) {
        return;
    }
    m_placing = true;
    m_track->SetOrientation(m_orientation);
    if (Width() == 0 || Height() == 0) {
        if (Visible()) {
            m_hiddenForNoRoom = true;
            SetVisible(false);
        }
        m_placing = false;
        return;
    }
    if (m_hiddenForNoRoom) {
        m_hiddenForNoRoom = false;
        SetVisible(true);
    }
    TsuiImageButton* first = m_firstButton;
    TsuiImageButton* second = m_secondButton;
    if (m_orientation == suiVertical) {
        first->SetBounds(0, 0, first->Width(), first->Height());
        // One pixel of the bar's colour stays above the second button.
        m_track->SetBounds(0, first->Height(), m_track->Width(),
                           Height() - second->Height() - first->Height() - 1);
        second->SetBounds(0, Height() - second->Height(), second->Width(), second->Height());
        SetWidth(first->Width());
    } else {
        first->SetBounds(0, 0, first->Width(), first->Height());
        m_track->SetBounds(first->Width(), 0, Width() - second->Width() - first->Width(), m_track->Height());
        second->SetBounds(Width() - second->Width(), 0, second->Width(), second->Height());
        SetHeight(first->Height());
    }
    m_placing = false;
    BuildSlider();
}

int TsuiScrollBar::Room() const {
    if (m_orientation == suiVertical) {
        return Height() - m_firstButton->Height() - m_secondButton->Height();
    }
    return Width() - m_firstButton->Width() - m_secondButton->Width();
}

void TsuiScrollBar::BuildSlider() {
    const bool vertical = m_orientation == suiVertical;
    int length = 0;
    if (m_lineButton > 0) {
        if (m_lineButton < kMinLineButton) {
            m_lineButton = kMinLineButton;
        }
        length = m_lineButton;
    } else {
        int percent = m_track->PageSize();
        if (percent < 10 || percent > 100) {
            percent = 10;
        }
        const int trackLength = vertical ? m_track->Height() : m_track->Width();
        length = static_cast<int>(static_cast<std::int64_t>(percent) * trackLength / 100);
    }
    length = std::max(0, length);
    const TBitmap& head = *m_sliderHead;
    const TBitmap& body = *m_sliderBody;
    const TBitmap& tail = *m_sliderTail;
    TBitmap slider;
    TRect bodyRect;
    if (vertical) {
        slider.SetSize(head.Width(), length);
        bodyRect = {0, head.Height(), slider.Width(), length - tail.Height()};
    } else {
        slider.SetSize(length, head.Height());
        bodyRect = {head.Width(), 0, length - tail.Width(), slider.Height()};
    }
    TCanvas* canvas = slider.Canvas();
    canvas->Draw(0, 0, &head);
    canvas->Draw(vertical ? 0 : bodyRect.Right, vertical ? bodyRect.Bottom : 0, &tail);
    // A slider shorter than its head and tail has no body.
    if (!bodyRect.IsEmpty() && !body.Empty()) {
        canvas->StretchDraw(bodyRect, &body);
    }
    TPicture picture;
    if (!slider.Empty()) {
        picture.SetGraphic(&slider);
    }
    m_track->SetSliderImage(&picture);
    m_track->Slider()->SetAutoSize(true);
    // The slider's new length moves its place along the track.
    m_track->UpdateSlider();
}

void TsuiScrollBar::SetLineButton(int value) {
    if (value == m_lineButton || value > Room()) {
        return;
    }
    m_lineButton = value;
    BuildSlider();
}

bool TsuiScrollBar::SliderVisible() const {
    return m_track->Slider()->Visible();
}

void TsuiScrollBar::SetSliderVisible(bool value) {
    if (value != SliderVisible()) {
        m_track->Slider()->SetVisible(value);
    }
}

// ---- The value -------------------------------------------------------------------------------------

int TsuiScrollBar::Max() const {
    return m_loadValues.Max.value_or(m_track->Max());
}

void TsuiScrollBar::SetMax(int value) {
    if (IsLoading()) {
        m_loadValues.Max = value;
        return;
    }
    m_track->SetMax(value);
}

int TsuiScrollBar::Min() const {
    return m_loadValues.Min.value_or(m_track->Min());
}

void TsuiScrollBar::SetMin(int value) {
    if (IsLoading()) {
        m_loadValues.Min = value;
        return;
    }
    m_track->SetMin(value);
}

int TsuiScrollBar::Position() const {
    return m_loadValues.Position.value_or(m_track->Position());
}

void TsuiScrollBar::SetPosition(int value) {
    if (IsLoading()) {
        m_loadValues.Position = value;
        return;
    }
    if (value != m_track->Position()) {
        m_track->SetPosition(value);
    }
}

void TsuiScrollBar::SetSmallChange(TScrollBarInc value) {
    m_smallChange = std::max<TScrollBarInc>(1, value);
}

TScrollBarInc TsuiScrollBar::LargeChange() const {
    return static_cast<TScrollBarInc>(std::clamp(PageSize(), 0, 32767));
}

void TsuiScrollBar::SetLargeChange(TScrollBarInc value) {
    if (IsLoading()) {
        m_loadValues.PageSize = value;
        return;
    }
    m_track->SetPageSize(value);
}

int TsuiScrollBar::PageSize() const {
    return m_loadValues.PageSize.value_or(m_track->PageSize());
}

void TsuiScrollBar::SetPageSize(int value) {
    if (IsLoading()) {
        m_loadValues.PageSize = value;
        return;
    }
    m_track->SetPageSize(value);
    BuildSlider();
}

TNotifyEvent TsuiScrollBar::OnChange() const {
    return m_track->OnChange;
}

void TsuiScrollBar::SetOnChange(TNotifyEvent handler) {
    m_track->OnChange = std::move(handler);
}

void TsuiScrollBar::Step(int direction) {
    const std::int64_t target = static_cast<std::int64_t>(m_track->Position()) + direction * m_smallChange;
    m_track->SetPosition(static_cast<int>(std::clamp<std::int64_t>(target, m_track->Min(), m_track->Max())));
}

// ---- Messages ------------------------------------------------------------------------------------

void TsuiScrollBar::WMEraseBkgnd(TMessage& message) {
    message.Result = 1;
}

void TsuiScrollBar::CMColorChanged(TMessage& message) {
    TCustomPanel::CMColorChanged(message);
    if (m_track) {
        m_track->SetColor(Color());
    }
}
