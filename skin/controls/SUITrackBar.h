#pragma once

// TsuiTrackBar: the skinned slider control, a bar picture along the track with a slider (an image
// panel) that the mouse drags, pages toward the pointer while the track is held, and the keys
// move. All value logic of the skinned scroll bar lives here too: TsuiScrollTrackBar is the
// track between a scroll bar's line buttons, with no bar picture of its own.
//
// Products and sums of positions and pixels are worked out in 64 bits and clamped before they
// are narrowed, so ranges up to the whole 32-bit span place the slider and page exactly.

#include "skin/controls/SUIControlLook.h"
#include "skin/controls/SUIImagePanel.h"
#include "skin/controls/SUIOrientation.h"

#include <cstdint>
#include <memory>
#include <optional>

class TBitmap;
class TPicture;

// Range values a layout gives while it loads, kept until Loaded so that they can be applied in
// an order that loses none of them (a range below 0, Min stored after Max).
struct TsuiTrackValues {
    std::optional<int> Min;
    std::optional<int> Max;
    std::optional<int> Position;
    std::optional<int> PageSize;
    std::optional<int> LineSize;
};

class TsuiTrackBar : public TCustomPanel {
    VARNEL_CLASS(TsuiTrackBar, TCustomPanel)

public:
    explicit TsuiTrackBar(TComponent* owner);
    ~TsuiTrackBar() override;

    // ---- Value ----
    int Min() const { return m_min; }
    void SetMin(int value);
    int Max() const { return m_max; }
    void SetMax(int value);
    // Both ends at once, written in the order that keeps the new range whole.
    void SetRange(int min, int max);
    int Position() const { return m_position; }
    // Clamped to [Min, Max]; places the slider even when the value is unchanged.
    void SetPosition(int value);
    // The paging step, and the step of the arrow keys; each accepted only within 0 .. Max.
    int PageSize() const { return m_pageSize; }
    void SetPageSize(int value);
    int LineSize() const { return m_lineSize; }
    void SetLineSize(int value);
    // The position last reported through OnChange.
    int LastPosition() const { return m_lastPosition; }

    // ---- Look ----
    TsuiProgressBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TsuiProgressBarOrientation value);
    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    TPicture* BarImage() const { return m_barImage.get(); }
    void SetBarImage(const TPicture* value);
    TPicture* SliderImage() const;
    // Assigns the slider's picture (the slider takes its size when AutoSize) and repaints.
    virtual void SetSliderImage(const TPicture* value);
    bool ShowTick() const { return m_showTick; }
    void SetShowTick(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    // Every how many values a tick is drawn; 0 or less: only at Min and Max.
    int Frequency() const { return m_frequency; }
    void SetFrequency(int value);

    // ---- Parts and geometry ----
    TsuiImagePanel* Slider() const { return m_slider; }
    // The bar picture drawn at the track's length (turned for a vertical track).
    const TBitmap* BarStrip() const { return m_barStrip.get(); }
    // Where the slider belongs for Position.
    TPoint GetSliderPosition() const;
    // The value that centres the slider on a point, not clamped (0 when the slider fills the track).
    int PositionFromPoint(int x, int y) const;
    // Moves the slider to Position, repaints, and reports a new Position through OnChange.
    void UpdateSlider();
    // Whether the track is paging toward the pointer, or the slider is being dragged.
    bool Paging() const { return m_paging; }
    bool Dragging() const { return m_dragging; }

    // Applies what a layout gave (see TsuiTrackValues) without reporting it through OnChange.
    void ApplyLoadedValues(const TsuiTrackValues& values);

    TNotifyEvent OnChange;

protected:
    struct TCustomPictureTag {};
    // For tracks whose slider picture comes from elsewhere: the look's pictures are not loaded
    // while the base part is built (a virtual call there would not yet reach the subclass).
    TsuiTrackBar(TComponent* owner, TCustomPictureTag);

    // ---- What subclasses change, in this order (SetSliderImage above comes first) ----
    // Reads the bar and slider pictures of the look and rebuilds the bar strip.
    virtual void UpdatePicture();
    // True when the slider picture is supplied from outside (no pictures are read from the look).
    virtual bool CustomPicture() const { return false; }
    virtual bool SliderTransparent() const { return m_orientation == suiHorizontal; }

    // Pictures, cross size, slider place and a repaint: after orientation, bar picture, look and
    // size changes.
    void ApplyLook();
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void Resize() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;
    void WMGetDlgCode(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMShowingChanged(TMessage& message) override;

private:
    void Init();
    // Position clamped from a wide value, through SetPosition.
    void StepTo(std::int64_t value);
    // The step toward the pointer at point (track coordinates), never past PositionFromPoint.
    void PageToward(TPoint point, std::int64_t step);
    void RepeatStep();
    // Whether the track and every container it is in are enabled and visible.
    bool CanTrack() const;
    void StopPaging();
    // Ends paging and dragging and gives the capture back (release, lost capture, disable, hide).
    void StopTracking();
    void SliderMouseDown(TMouseButton button);
    void DragTo(int x, int y);
    void FitCrossSize();
    void BuildBarStrip();
    void DrawTicks(TCanvas* canvas);
    void ReportChange();
    int TrackLength() const;
    int SliderLength() const;
    // Along the track's axis: y of a vertical track, x of a horizontal one.
    int Along(TPoint p) const { return m_orientation == suiVertical ? p.Y : p.X; }

    int m_min = 0;
    int m_max = 10;
    int m_position = 0;
    int m_pageSize = 2;
    int m_lineSize = 1;
    int m_lastPosition = 0;
    int m_frequency = 1;
    bool m_showTick = true;
    bool m_transparent = false;
    TsuiProgressBarOrientation m_orientation = suiHorizontal;
    TsuiControlLook m_look;
    std::unique_ptr<TPicture> m_barImage;
    std::unique_ptr<TBitmap> m_barStrip;
    TsuiImagePanel* m_slider = nullptr; // child of the track, freed with it
    TsuiTrackValues m_loadValues;       // what a layout gave while loading
    bool m_paging = false;              // the repeat timer runs
    bool m_dragging = false;
    bool m_applyingLook = false;
    bool m_quiet = false; // OnChange is held back while values from a layout are applied
};

class TsuiScrollTrackBar : public TsuiTrackBar {
    VARNEL_CLASS(TsuiScrollTrackBar, TsuiTrackBar)

public:
    explicit TsuiScrollTrackBar(TComponent* owner);

protected:
    bool CustomPicture() const override { return true; }
    bool SliderTransparent() const override { return false; }
};
