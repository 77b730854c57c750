#pragma once

// TsuiScrollBar: a scroll bar drawn from the bitmaps of its look. A panel holding two line
// buttons at its ends and between them a track whose slider picture the bar composes at the
// right length from the look's head, body and tail pieces. The value, paging, dragging and
// OnChange are the track's; the bar adds the line buttons and lays the parts out.

#include "skin/controls/SUIControlLook.h"
#include "skin/controls/SUIOrientation.h"
#include "skin/controls/SUITrackBar.h"

#include <cstdint>
#include <memory>

class TBitmap;
class TsuiImageButton;

// The step of a line button: 1 to 32767.
using TScrollBarInc = std::int16_t;

class TsuiScrollBar : public TCustomPanel {
    VARNEL_CLASS(TsuiScrollBar, TCustomPanel)

public:
    explicit TsuiScrollBar(TComponent* owner);
    ~TsuiScrollBar() override;

    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    TsuiProgressBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TsuiProgressBarOrientation value);
    // A fixed slider length in pixels (at least 18 once used), or 0 for a slider that covers
    // PageSize per cent of the track. A length beyond the room between the buttons is refused.
    int LineButton() const { return m_lineButton; }
    void SetLineButton(int value);

    // ---- The track's value ----
    int Max() const;
    void SetMax(int value);
    int Min() const;
    void SetMin(int value);
    int Position() const;
    void SetPosition(int value);
    TScrollBarInc SmallChange() const { return m_smallChange; }
    void SetSmallChange(TScrollBarInc value);
    // The paging step; setting it leaves the slider's length until it is next built.
    TScrollBarInc LargeChange() const;
    void SetLargeChange(TScrollBarInc value);
    // The paging step, which also sets the slider's length.
    int PageSize() const;
    void SetPageSize(int value);
    // The track's event, fired with the track as sender.
    TNotifyEvent OnChange() const;
    void SetOnChange(TNotifyEvent handler);

    bool SliderVisible() const;
    void SetSliderVisible(bool value);

    // ---- Parts ----
    TsuiScrollTrackBar* Track() const { return m_track; }
    TsuiImageButton* FirstButton() const { return m_firstButton; }
    TsuiImageButton* SecondButton() const { return m_secondButton; }

protected:
    // Reads the colour, the line buttons' pictures and the slider's pieces from the look.
    void LoadPictures();
    // Places buttons and track, then builds the slider.
    void PlaceParts();
    // Composes the slider picture at its length and gives it to the track.
    void BuildSlider();

    void CreateParams(TCreateParams& params) override;
    void Loaded() override;
    void Resize() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WMEraseBkgnd(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;

private:
    // Between the line buttons, along the bar.
    int Room() const;
    void Step(int direction);

    TsuiControlLook m_look;
    TsuiProgressBarOrientation m_orientation = suiHorizontal;
    int m_lineButton = 0;
    TScrollBarInc m_smallChange = 1;
    TsuiScrollTrackBar* m_track = nullptr;
    TsuiImageButton* m_firstButton = nullptr;  // up or left
    TsuiImageButton* m_secondButton = nullptr; // down or right
    std::unique_ptr<TBitmap> m_sliderHead;
    std::unique_ptr<TBitmap> m_sliderBody;
    std::unique_ptr<TBitmap> m_sliderTail;
    TsuiTrackValues m_loadValues; // what a layout gave while loading
    bool m_partsReady = false;    // the constructor has made the parts and read the look
    bool m_placing = false;
    bool m_inLoaded = false;        // Loaded runs: the layout may be placed although still loading
    bool m_hiddenForNoRoom = false; // PlaceParts hid the bar because a side was 0
};
