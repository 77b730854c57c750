#pragma once

// The drawing and window helpers every skinned component shares: cutting a frame out of a
// strip, drawing a bitmap into any size while keeping its corners, three-part bars, tiling,
// quarter turns, and the small window chores. None keeps state; every temporary bitmap is freed
// before return.

#include "skin/core/SUIThemes.h"
#include "toolkit/components/Component.h"
#include "toolkit/components/Properties.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/windowing/WinTypes.h"

#include <array>
#include <optional>
#include <string_view>

class TBitmap;
class TCanvas;
class TControl;
class TCustomForm;
class TPicture;
class TWinControl;

// Frame index (1-based) of count equal frames of source, each source width div count wide and
// the full height, becomes dest (size and pixels; dest keeps its transparency settings). source
// and dest may be the same bitmap. A count below 1 or an index outside 1 to count leaves dest
// as it was.
void SliceBitmap(const TBitmap* source, TBitmap* dest, int count, int index);

// One of the nine pieces DrawBitmapKeepCorners draws, in drawing order. A corner is copied
// unscaled; an edge or the centre stretches its source over its destination. Skipped pieces
// draw nothing but keep their rectangles, which the neighbouring pieces are placed against.
struct TKeepCornersPiece {
    enum TKind { Corner, Edge, Centre } Kind;
    TRect Source;
    TRect Dest;
    bool Skipped;
};
using TKeepCornersPieces = std::array<TKeepCornersPiece, 9>;

// The pieces for a source of width × height drawn into rect: top-left, bottom-left corners,
// left edge, top-right, bottom-right corners, right edge, top edge, centre, bottom edge.
TKeepCornersPieces KeepCornersPieces(int width, int height, const TRect& rect);

// Draws source into rect so that its four corners keep their pixel size while the edges and
// the middle stretch: the face of every skinned push button. Corners leave out magenta pixels
// when transparent is set; edges and centre always do.
void DrawBitmapKeepCorners(const TBitmap* source, TCanvas* canvas, const TRect& rect, bool transparent);

// A bar of three frames: the left cap at rect's left, the right cap at its right, both leaving
// out the key colour (the bitmap's top-left pixel when useCornerColor is set, else magenta),
// and the middle frame stretched between them.
void DrawThreePartBitmap(const TBitmap* bitmap, TCanvas* canvas, const TRect& rect, bool useCornerColor);

// Tiles the picture unscaled from the canvas origin over rect's width and height, one column
// and one row beyond them. An empty picture draws nothing.
void TileDrawPicture(TCanvas* canvas, const TPicture* picture, const TRect& rect);

// Quarter turns in place. Anticlockwise brings the old top-right corner to the top-left,
// clockwise the old bottom-left.
void RotateBitmapAnticlockwise(TBitmap* bitmap);
void RotateBitmapClockwise(TBitmap* bitmap);

// True when left <= x <= right and top <= y <= bottom: unlike TRect::Contains, the right and
// bottom edges count as inside.
constexpr bool PointInRect(TPoint point, const TRect& rect) {
    return point.X >= rect.Left && point.X <= rect.Right && point.Y >= rect.Top && point.Y <= rect.Bottom;
}

// HasProperty(component, name), whether a class publishes a property of that name, comes with
// the component model (toolkit/components/Properties.h); the skin finds the components that
// take part in skinning by "FileTheme" and "UIStyle" with it.

// Gives one skinned component a look: sets its "FileTheme" property to fileTheme (none allowed)
// and then its "UIStyle" to style, through their setters, so that it restyles itself (and, if
// it is a container, passes the look on). A component whose class does not publish both is
// left alone and the answer is false.
bool ApplyStyleToComponent(TComponent* component, TsuiUIStyle style, TsuiFileTheme* fileTheme);

// Pushes a look down to the direct children of container, in order: each child whose class
// publishes both properties gets fileTheme and then style (ApplyStyleToComponent); the others are
// left alone. Grandchildren are reached only through their own containers.
void ApplyStyleToChildren(TWinControl* container, TsuiUIStyle style, TsuiFileTheme* fileTheme);

// The look of a skinned form component (class TsuiForm or derived from it), or nothing for any
// other component.
std::optional<TsuiUIStyle> SkinnedFormUIStyle(const TComponent* component);

// Whether a component is a form (a TCustomForm or derived from it).
bool IsFormComponent(const TComponent* component);

// Whether form is to be painted as active. Without a main form, the form's own Active flag. An
// MDI frame that is the main form is always active. Otherwise nothing is active while the
// application is not; then the main form (and no form at all) is active, an MDI child is active
// when its frame's client window names it as the active child, and any other form by its
// Active flag. No form while there is no main form is not active.
bool IsFormActive(const TCustomForm* form);

// Places a form: Left, Top, Width (right - left) and Height (bottom - top), set in that order.
void SetFormBoundsRect(TCustomForm* form, const TRect& rect);

// Sets the control's Left and then its Top.
void MoveControlTo(TControl* control, TPoint point);

// ---- Window chores ----

// The desktop work area (the screen less its panels), in screen coordinates.
void GetWorkAreaRect(TRect& rect);

// Frames the whole window (non-client area included) with a one-pixel line of outer and, when
// drawInner is set, a line of inner just inside it.
void DrawControlBorder(HWND window, TColor outer, TColor inner, bool drawInner);
// The same for a windowed control's window; a control without a window has nothing to frame.
void DrawControlBorder(TWinControl* control, TColor outer, TColor inner, bool drawInner);

// Paints into canvas what parent shows under a child placed at position (in parent's client
// coordinates): parent erases its background and paints itself, through WM_ERASEBKGND and
// WM_PAINT with the canvas's device context, shifted so that parent's pixels land where the
// child lies and clipped to parent's client area. The device context is as it was afterwards.
void DrawParentBackground(TCanvas* canvas, HWND parent, TPoint position);
// The same for a control: what its parent shows under it, at its Left and Top. Nothing without a
// parent. A parent that has no window yet is asked to paint directly, without one.
void DrawParentBackground(TCanvas* canvas, const TControl* control);
// The ground a skinned control paints itself on: what its parent shows under it when transparent,
// otherwise its own Color over its whole client area.
void DrawControlGround(TCanvas* canvas, const TControl* control, bool transparent);
