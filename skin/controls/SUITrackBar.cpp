#include "skin/controls/SUITrackBar.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

// The track bar. Index:
//   life             - construction, the look, loading
//   value            - Min, Max, Position, PageSize, LineSize, OnChange
//   geometry         - where the slider lies, the value under a point
//   mouse and keys   - paging toward the pointer, dragging the slider, the keys
//   painting         - bar strip, focus mark, ticks

VARNEL_CLASS_INFO(TsuiTrackBar, [](auto& c) {
    c.Enum("Orientation", ProgressBarOrientationInfo, &TsuiTrackBar::Orientation,
           &TsuiTrackBar::SetOrientation)
        .Default(suiHorizontal);
    c.Component("FileTheme", &TsuiTrackBar::FileTheme, &TsuiTrackBar::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiTrackBar::UIStyle, &TsuiTrackBar::SetUIStyle);
    c.Object("BarImage", &TsuiTrackBar::BarImage, &TsuiTrackBar::SetBarImage);
    c.Object("SliderImage", &TsuiTrackBar::SliderImage, &TsuiTrackBar::SetSliderImage);
    c.Int("Max", &TsuiTrackBar::Max, &TsuiTrackBar::SetMax).Default(10);
    c.Int("Min", &TsuiTrackBar::Min, &TsuiTrackBar::SetMin).Default(0);
    c.Int("Position", &TsuiTrackBar::Position, &TsuiTrackBar::SetPosition).Default(0);
    c.Int("PageSize", &TsuiTrackBar::PageSize, &TsuiTrackBar::SetPageSize).Default(2);
    c.Int("LineSize", &TsuiTrackBar::LineSize, &TsuiTrackBar::SetLineSize).Default(1);
    c.Bool("ShowTick", &TsuiTrackBar::ShowTick, &TsuiTrackBar::SetShowTick).Default(true);
    c.Bool("Transparent", &TsuiTrackBar::Transparent, &TsuiTrackBar::SetTransparent).Default(false);
    c.Int("Frequency", &TsuiTrackBar::Frequency, &TsuiTrackBar::SetFrequency).Default(1);
    c.Event("OnChange", &TsuiTrackBar::OnChange);
    for (const char* name :
         {"Align",          "Alignment",  "BiDiMode",    "Anchors",        "Color",          "Enabled",
          "ParentBiDiMode", "ParentFont", "ParentColor", "ParentShowHint", "ShowHint",       "TabOrder",
          "TabStop",        "Visible",    "OnCanResize", "OnClick",        "OnContextPopup", "OnDblClick",
          "OnEnter",        "OnExit",     "OnMouseDown", "OnMouseMove",    "OnMouseUp",      "OnResize"}) {
        c.Publish(name);
    }
})

VARNEL_CLASS_INFO(TsuiScrollTrackBar)

namespace {

// The paging timer, on the track's own window.
constexpr UINT_PTR kPagingTimer = 0x5C01;
constexpr int kPagingIntervalMs = 100;
// A horizontal track pages three steps at each repeat.
constexpr int kHorizontalRepeatPages = 3;

int ClampToInt(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

// ---- Life ------------------------------------------------------------------------------------------

TsuiTrackBar::TsuiTrackBar(TComponent* owner)
    : TCustomPanel(owner), m_look(this, GetOwnerUIStyle(owner)), m_barImage(std::make_unique<TPicture>()),
      m_barStrip(std::make_unique<TBitmap>()) {
    Init();
    ApplyLook();
    if (UIStyle() == MacOS) {
        SetTransparent(true);
    }
}

TsuiTrackBar::TsuiTrackBar(TComponent* owner, TCustomPictureTag)
    : TCustomPanel(owner), m_look(this, GetOwnerUIStyle(owner)), m_barImage(std::make_unique<TPicture>()),
      m_barStrip(std::make_unique<TBitmap>()) {
    Init();
}

void TsuiTrackBar::Init() {
    // The track holds only its slider, and its caption stays empty.
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption});
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetParentColor(true);
    SetTabStop(true);
    m_slider = new TsuiImagePanel(this);
    m_slider->SetBounds(0, 0, 0, 0);
    m_slider->SetParent(this);
    m_slider->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int, int) {
        SliderMouseDown(button);
    };
    // The track is as thick as its slider.
    m_slider->OnResize = [this](TObject*) {
        FitCrossSize();
        UpdateSlider();
    };
}

TsuiTrackBar::~TsuiTrackBar() {
    StopTracking();
    // The slider's events point here: it goes while the track is still whole.
    delete m_slider;
    m_slider = nullptr;
}

TsuiScrollTrackBar::TsuiScrollTrackBar(TComponent* owner) : TsuiTrackBar(owner, TCustomPictureTag{}) {}

void TsuiTrackBar::SetUIStyle(TsuiUIStyle value) {
    m_look.SetUIStyle(value);
    ApplyLook();
    if (value == MacOS) {
        SetTransparent(true);
    }
}

void TsuiTrackBar::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    SetUIStyle(UIStyle());
}

void TsuiTrackBar::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TsuiTrackBar::SetOrientation(TsuiProgressBarOrientation value) {
    if (value == m_orientation) {
        return;
    }
    m_orientation = value;
    ApplyLook();
}

void TsuiTrackBar::SetBarImage(const TPicture* value) {
    m_barImage->Assign(value);
    ApplyLook();
}

TPicture* TsuiTrackBar::SliderImage() const {
    return m_slider->Picture();
}

void TsuiTrackBar::SetSliderImage(const TPicture* value) {
    m_slider->SetPicture(value);
    Invalidate();
}

void TsuiTrackBar::SetShowTick(bool value) {
    m_showTick = value;
    Invalidate();
}

void TsuiTrackBar::SetTransparent(bool value) {
    m_transparent = value;
    Invalidate();
}

void TsuiTrackBar::SetFrequency(int value) {
    m_frequency = value;
    Invalidate();
}

void TsuiTrackBar::ApplyLook() {
    // Fitting the cross size resizes the track, which asks for the look again; the outer call
    // has it in hand.
    if (m_applyingLook) {
        return;
    }
    m_applyingLook = true;
    if (!CustomPicture()) {
        UpdatePicture();
    }
    FitCrossSize();
    m_applyingLook = false;
    UpdateSlider();
    Invalidate();
}

void TsuiTrackBar::UpdatePicture() {
    TBitmap bar;
    m_look.GetBitmap(TsuiThemeElement::TrackBarBarImage, &bar);
    m_barImage->SetGraphic(bar.Empty() ? nullptr : &bar);
    TBitmap slider;
    m_look.GetBitmap(m_orientation == suiVertical ? TsuiThemeElement::TrackBarSliderVImage
                                                  : TsuiThemeElement::TrackBarSliderImage,
                     &slider);
    TPicture sliderPicture;
    if (!slider.Empty()) {
        sliderPicture.SetGraphic(&slider);
    }
    m_slider->SetPicture(&sliderPicture);
    BuildBarStrip();
    m_slider->SetTransparent(SliderTransparent());
    m_slider->SetAutoSize(true);
}

void TsuiTrackBar::BuildBarStrip() {
    const int length = TrackLength();
    const TGraphic* bar = m_barImage->Graphic();
    if (m_barImage->Empty() || length <= 0) {
        m_barStrip->SetSize(0, 0);
        return;
    }
    const int thickness = bar->Height();
    m_barStrip->SetSize(length, thickness);
    TCanvas* canvas = m_barStrip->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect({0, 0, length, thickness});
    DrawThreePartBitmap(m_barImage->Bitmap(), canvas, {0, 0, length, thickness}, false);
    if (m_orientation == suiVertical) {
        RotateBitmapAnticlockwise(m_barStrip.get());
    }
}

void TsuiTrackBar::FitCrossSize() {
    const int bar = m_barImage->Height();
    if (m_orientation == suiVertical) {
        SetWidth(std::max(bar, m_slider->Width()));
    } else {
        SetHeight(std::max(bar, m_slider->Height()));
    }
}

void TsuiTrackBar::CreateParams(TCreateParams& params) {
    TCustomPanel::CreateParams(params);
    // Its parts are not placed by the user, but it must not paint over them.
    params.Style |= WS_CLIPCHILDREN;
}

void TsuiTrackBar::Resize() {
    TCustomPanel::Resize();
    if (!IsLoading()) {
        ApplyLook();
    }
}

void TsuiTrackBar::Loaded() {
    TCustomPanel::Loaded();
    ApplyLoadedValues(std::exchange(m_loadValues, {}));
    ApplyLook();
}

// ---- Value ---------------------------------------------------------------------------------------------

void TsuiTrackBar::SetMax(int value) {
    if (IsLoading() && !m_quiet) {
        m_loadValues.Max = value;
        return;
    }
    if (value == m_max) {
        return;
    }
    m_max = std::max(value, m_min);
    m_position = std::min(m_position, m_max);
    UpdateSlider();
}

void TsuiTrackBar::SetMin(int value) {
    if (IsLoading() && !m_quiet) {
        m_loadValues.Min = value;
        return;
    }
    if (value == m_min) {
        return;
    }
    m_min = std::min(value, m_max);
    m_position = std::max(m_position, m_min);
    UpdateSlider();
}

void TsuiTrackBar::SetRange(int min, int max) {
    // Raising the far end first when the new range lies above the old one keeps either clamp
    // from eating the other end.
    if (min > m_max) {
        SetMax(max);
        SetMin(min);
    } else {
        SetMin(min);
        SetMax(max);
    }
}

void TsuiTrackBar::SetPosition(int value) {
    if (IsLoading() && !m_quiet) {
        m_loadValues.Position = value;
        return;
    }
    m_position = std::clamp(value, m_min, m_max);
    UpdateSlider();
}

void TsuiTrackBar::SetPageSize(int value) {
    if (IsLoading() && !m_quiet) {
        m_loadValues.PageSize = value;
        return;
    }
    if (value >= 0 && value <= m_max) {
        m_pageSize = value;
    }
}

void TsuiTrackBar::SetLineSize(int value) {
    if (IsLoading() && !m_quiet) {
        m_loadValues.LineSize = value;
        return;
    }
    if (value >= 0 && value <= m_max) {
        m_lineSize = value;
    }
}

void TsuiTrackBar::ApplyLoadedValues(const TsuiTrackValues& values) {
    const bool quiet = m_quiet;
    m_quiet = true;
    SetRange(values.Min.value_or(m_min), values.Max.value_or(m_max));
    if (values.PageSize) {
        SetPageSize(*values.PageSize);
    }
    if (values.LineSize) {
        SetLineSize(*values.LineSize);
    }
    if (values.Position) {
        SetPosition(*values.Position);
    }
    // What a layout stored is the starting point, not a change.
    m_lastPosition = m_position;
    m_quiet = quiet;
}

void TsuiTrackBar::StepTo(std::int64_t value) {
    SetPosition(static_cast<int>(std::clamp<std::int64_t>(value, m_min, m_max)));
}

void TsuiTrackBar::UpdateSlider() {
    MoveControlTo(m_slider, GetSliderPosition());
    Invalidate();
    ReportChange();
}

void TsuiTrackBar::ReportChange() {
    if (m_position == m_lastPosition || m_quiet || IsLoading()) {
        return;
    }
    // Stored first: a handler that writes the same position back finds nothing new to report.
    m_lastPosition = m_position;
    if (OnChange) {
        OnChange(this);
    }
}

// ---- Geometry ---------------------------------------------------------------------------------------

int TsuiTrackBar::TrackLength() const {
    return m_orientation == suiVertical ? Height() : Width();
}

int TsuiTrackBar::SliderLength() const {
    return m_orientation == suiVertical ? m_slider->Height() : m_slider->Width();
}

TPoint TsuiTrackBar::GetSliderPosition() const {
    const std::int64_t range = static_cast<std::int64_t>(m_max) - m_min;
    const std::int64_t free = static_cast<std::int64_t>(TrackLength()) - SliderLength();
    const int along =
        range == 0 ? 0 : ClampToInt((static_cast<std::int64_t>(m_position) - m_min) * free / range);
    if (m_orientation == suiVertical) {
        return {std::max(0, Width() - m_slider->Width()) / 2, along};
    }
    return {along, std::max(0, Height() - m_slider->Height()) / 2};
}

int TsuiTrackBar::PositionFromPoint(int x, int y) const {
    const int coord = m_orientation == suiVertical ? y : x;
    const std::int64_t sliderLength = SliderLength();
    const std::int64_t trackLength = TrackLength();
    if (sliderLength == trackLength) {
        return 0;
    }
    const std::int64_t range = static_cast<std::int64_t>(m_max) - m_min;
    // Exact in long double for any 32-bit range and pixel offset; rounds half to even.
    const long double offset = static_cast<long double>(coord - sliderLength / 2) * range;
    const long double steps = std::nearbyint(offset / static_cast<long double>(trackLength - sliderLength));
    const long double bound = static_cast<long double>(std::numeric_limits<std::int64_t>::max() / 2);
    return ClampToInt(m_min + static_cast<std::int64_t>(std::clamp(steps, -bound, bound)));
}

// ---- Mouse and keys ------------------------------------------------------------------------------------

void TsuiTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = AliveToken();
    TCustomPanel::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft) {
        return;
    }
    PageToward({x, y}, m_pageSize);
    if (alive.expired()) {
        return;
    }
    if (!m_paging && HandleAllocated() && MouseCapture()) {
        m_paging = true;
        ::SetTimer(Handle(), kPagingTimer, kPagingIntervalMs, nullptr);
    }
    if (CanFocus() && Enabled()) {
        SetFocus();
    }
}

void TsuiTrackBar::PageToward(TPoint point, std::int64_t step) {
    const int pointer = Along(point);
    const int slider = Along({m_slider->Left(), m_slider->Top()});
    if (pointer == slider) {
        return;
    }
    const std::int64_t target = PositionFromPoint(point.X, point.Y);
    if (pointer > slider) {
        StepTo(std::min(m_position + step, target));
    } else {
        StepTo(std::max(m_position - step, target));
    }
}

bool TsuiTrackBar::CanTrack() const {
    for (const TControl* control = this; control; control = control->Parent()) {
        if (!control->Enabled() || !control->Visible()) {
            return false;
        }
    }
    return true;
}

void TsuiTrackBar::RepeatStep() {
    // A container disabled or hidden meanwhile ends the paging as a disabled track would.
    POINT screen;
    if (!CanTrack()) {
        StopTracking();
        return;
    }
    if (!::GetCursorPos(&screen)) {
        return;
    }
    const std::int64_t pages = m_orientation == suiVertical ? 1 : kHorizontalRepeatPages;
    PageToward(ScreenToClient(screen), pages * m_pageSize);
}

void TsuiTrackBar::StopPaging() {
    if (m_paging && HandleAllocated()) {
        ::KillTimer(Handle(), kPagingTimer);
    }
    m_paging = false;
}

void TsuiTrackBar::StopTracking() {
    StopPaging();
    m_dragging = false;
    if (MouseCapture()) {
        SetMouseCapture(false);
    }
}

void TsuiTrackBar::SliderMouseDown(TMouseButton button) {
    if (button != mbLeft) {
        return;
    }
    m_dragging = true;
    auto alive = AliveToken();
    if (CanFocus() && Enabled()) {
        SetFocus();
        if (alive.expired() || !m_dragging) {
            return;
        }
    }
    SetMouseCapture(true);
}

void TsuiTrackBar::MouseMove(TShiftState shift, int x, int y) {
    auto alive = AliveToken();
    TCustomPanel::MouseMove(shift, x, y);
    if (alive.expired()) {
        return;
    }
    if (m_dragging) {
        DragTo(x, y);
    } else if (m_paging && !PointInRect({x, y}, {0, 0, Width(), Height()})) {
        // Leaving the track ends paging; coming back does not start it again.
        StopPaging();
    }
}

void TsuiTrackBar::DragTo(int x, int y) {
    m_position = std::clamp(PositionFromPoint(x, y), m_min, m_max);
    MoveControlTo(m_slider, GetSliderPosition());
    ReportChange();
}

void TsuiTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    StopTracking();
    TCustomPanel::MouseUp(button, shift, x, y);
}

void TsuiTrackBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_TIMER:
        if (message.WParam == kPagingTimer) {
            if (m_paging) {
                RepeatStep();
            }
            return;
        }
        break;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        // The capture went elsewhere (a modal box, a menu): no paging or dragging underneath it.
        StopPaging();
        m_dragging = false;
        break;
    default:
        break;
    }
    TCustomPanel::Dispatch(message);
}

void TsuiTrackBar::KeyDown(WORD& key, TShiftState shift) {
    auto alive = AliveToken();
    TCustomPanel::KeyDown(key, shift);
    if (alive.expired()) {
        return;
    }
    const std::int64_t position = m_position;
    switch (key) {
    case VK_PRIOR:
        StepTo(position - m_pageSize);
        break;
    case VK_NEXT:
        StepTo(position + m_pageSize);
        break;
    case VK_END:
        SetPosition(m_max);
        break;
    case VK_HOME:
        SetPosition(m_min);
        break;
    case VK_LEFT:
    case VK_UP:
        StepTo(position - m_lineSize);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        StepTo(position + m_lineSize);
        break;
    default:
        break;
    }
}

void TsuiTrackBar::WMGetDlgCode(TMessage& message) {
    TCustomPanel::WMGetDlgCode(message);
    message.Result = DLGC_WANTARROWS;
}

void TsuiTrackBar::WMSetFocus(TMessage& message) {
    TCustomPanel::WMSetFocus(message);
    Invalidate();
}

void TsuiTrackBar::WMKillFocus(TMessage& message) {
    TCustomPanel::WMKillFocus(message);
    Invalidate();
}

void TsuiTrackBar::CMEnabledChanged(TMessage& message) {
    if (!Enabled()) {
        StopTracking();
    }
    TCustomPanel::CMEnabledChanged(message);
}

void TsuiTrackBar::CMVisibleChanged(TMessage& message) {
    if (!Visible()) {
        StopTracking();
    }
    TCustomPanel::CMVisibleChanged(message);
}

void TsuiTrackBar::CMShowingChanged(TMessage& message) {
    if (!Showing()) {
        StopTracking();
    }
    TCustomPanel::CMShowingChanged(message);
}

// ---- Painting ---------------------------------------------------------------------------------------

void TsuiTrackBar::WMEraseBkgnd(TMessage& message) {
    message.Result = 1;
}

void TsuiTrackBar::Paint() {
    TsuiPaintBuffer buffer(Width(), Height());
    TCanvas* canvas = buffer.Canvas();
    const TRect client = ClientRect();
    DrawControlGround(canvas, this, m_transparent);
    if (!m_barStrip->Empty()) {
        const int thickness = m_barImage->Height();
        if (m_orientation == suiVertical) {
            canvas->Draw((Width() - thickness) / 2, 0, m_barStrip.get());
        } else {
            canvas->Draw(0, (Height() - thickness) / 2, m_barStrip.get());
        }
    }
    if (Focused() && TabStop()) {
        canvas->DrawFocusRect(client);
    }
    if (m_showTick) {
        DrawTicks(canvas);
    }
    buffer.CopyTo(Canvas());
}

void TsuiTrackBar::DrawTicks(TCanvas* canvas) {
    if (m_min == m_max) {
        return;
    }
    const std::int64_t range = static_cast<std::int64_t>(m_max) - m_min;
    const std::int64_t free = static_cast<std::int64_t>(TrackLength()) - SliderLength();
    const int half = SliderLength() / 2;
    auto tick = [&](std::int64_t offsetAlong) {
        const int at = ClampToInt(offsetAlong + half);
        if (m_orientation == suiVertical) {
            canvas->MoveTo(0, at);
            canvas->LineTo(3, at);
            canvas->MoveTo(Width() - 3, at);
            canvas->LineTo(Width(), at);
        } else {
            canvas->MoveTo(at, Height() - 3);
            canvas->LineTo(at, Height());
        }
    };
    auto offsetOf = [&](std::int64_t step) { return free * step / range; };
    // Ticks at Min, Min + Frequency, ... and Max; only Min and Max for a frequency of 0 or less.
    // Only the ticks drawn are visited, and where they lie closer than a pixel apart, every pixel
    // they cover is drawn once, so a range of any size paints in time proportional to the track.
    if (m_frequency > 0) {
        const std::int64_t frequency = m_frequency;
        const std::int64_t lastStep = range / frequency * frequency;
        const std::int64_t pixels = free < 0 ? -free : free;
        if (frequency * pixels <= range) {
            const std::int64_t last = offsetOf(lastStep);
            for (std::int64_t p = 0; p != last; p += last > 0 ? 1 : -1) {
                tick(p);
            }
            tick(last);
        } else {
            for (std::int64_t step = 0; step <= lastStep; step += frequency) {
                tick(offsetOf(step));
            }
        }
    } else {
        tick(0);
    }
    tick(free);
}
