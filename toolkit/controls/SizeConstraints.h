#pragma once

#include "toolkit/components/Persistent.h"

class TControl;

// The smallest and largest size a control may take; 0 means no limit. A change tells the
// control, which brings its size within the new limits at once.
class TSizeConstraints : public TPersistent {
    VARNEL_CLASS(TSizeConstraints, TPersistent)

public:
    explicit TSizeConstraints(TControl* control = nullptr) : m_control(control) {}

    int MaxHeight() const { return m_maxHeight; }
    int MaxWidth() const { return m_maxWidth; }
    int MinHeight() const { return m_minHeight; }
    int MinWidth() const { return m_minWidth; }
    // Negative values count as 0. A minimum above the maximum raises the maximum, and a maximum
    // below the minimum lowers the minimum, so the limits never contradict each other.
    void SetMaxHeight(int value);
    void SetMaxWidth(int value);
    void SetMinHeight(int value);
    void SetMinWidth(int value);

    // The size brought within the limits.
    int ClampWidth(int width) const;
    int ClampHeight(int height) const;

    void Assign(const TPersistent* source) override;
    TPersistent* GetOwner() const override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TControl* m_control;
    int m_maxHeight = 0;
    int m_maxWidth = 0;
    int m_minHeight = 0;
    int m_minWidth = 0;
};
