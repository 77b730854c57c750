#include "toolkit/controls/SizeConstraints.h"

#include "toolkit/components/Properties.h"
#include "toolkit/controls/Control.h"

#include <algorithm>

VARNEL_CLASS_INFO(TSizeConstraints, [](auto& c) {
    c.Int("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
    c.Int("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
    c.Int("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
    c.Int("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
})

void TSizeConstraints::SetMaxHeight(int value) {
    value = std::max(0, value);
    if (value == m_maxHeight) {
        return;
    }
    m_maxHeight = value;
    if (m_maxHeight > 0 && m_minHeight > m_maxHeight) {
        m_minHeight = m_maxHeight;
    }
    Changed();
}

void TSizeConstraints::SetMaxWidth(int value) {
    value = std::max(0, value);
    if (value == m_maxWidth) {
        return;
    }
    m_maxWidth = value;
    if (m_maxWidth > 0 && m_minWidth > m_maxWidth) {
        m_minWidth = m_maxWidth;
    }
    Changed();
}

void TSizeConstraints::SetMinHeight(int value) {
    value = std::max(0, value);
    if (value == m_minHeight) {
        return;
    }
    m_minHeight = value;
    if (m_maxHeight > 0 && m_maxHeight < m_minHeight) {
        m_maxHeight = m_minHeight;
    }
    Changed();
}

void TSizeConstraints::SetMinWidth(int value) {
    value = std::max(0, value);
    if (value == m_minWidth) {
        return;
    }
    m_minWidth = value;
    if (m_maxWidth > 0 && m_maxWidth < m_minWidth) {
        m_maxWidth = m_minWidth;
    }
    Changed();
}

int TSizeConstraints::ClampWidth(int width) const {
    if (m_maxWidth > 0) {
        width = std::min(width, m_maxWidth);
    }
    return std::max(width, m_minWidth);
}

int TSizeConstraints::ClampHeight(int height) const {
    if (m_maxHeight > 0) {
        height = std::min(height, m_maxHeight);
    }
    return std::max(height, m_minHeight);
}

void TSizeConstraints::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TSizeConstraints*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other->m_maxHeight == m_maxHeight && other->m_maxWidth == m_maxWidth &&
        other->m_minHeight == m_minHeight && other->m_minWidth == m_minWidth) {
        return;
    }
    m_maxHeight = other->m_maxHeight;
    m_maxWidth = other->m_maxWidth;
    m_minHeight = other->m_minHeight;
    m_minWidth = other->m_minWidth;
    Changed();
}

TPersistent* TSizeConstraints::GetOwner() const {
    return m_control;
}

void TSizeConstraints::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}
