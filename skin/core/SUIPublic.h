#pragma once

// The drawing and window helpers every skinned component shares: cutting a frame out of a
// strip, drawing a bitmap into any size while keeping its corners, three-part bars, tiling,
// quarter turns, and the small window chores. None keeps state; every temporary bitmap is freed
// before return.

#include "toolkit/components/Component.h"
#include "toolkit/components/Properties.h"
#include "toolkit/graphics/Types.h"

#include <string_view>

// True when left <= x <= right and top <= y <= bottom: unlike TRect::Contains, the right and
// bottom edges count as inside.
constexpr bool PointInRect(TPoint point, const TRect& rect) {
    return point.X >= rect.Left && point.X <= rect.Right && point.Y >= rect.Top && point.Y <= rect.Bottom;
}

// HasProperty(component, name), whether a class publishes a property of that name, comes with
// the component model (toolkit/components/Properties.h); the skin finds the components that
// take part in skinning by "FileTheme" and "UIStyle" with it.

// Whether a component is a form (its class is, or derives from, the toolkit's form class).
bool IsFormComponent(const TComponent* component);
