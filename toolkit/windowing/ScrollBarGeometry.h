#pragma once

#include "toolkit/windowing/Window.h"

#include <optional>

// Where the parts of a native scroll bar lie, worked out from its state alone, so that drawing,
// hit testing, GetScrollBarInfo and dragging the thumb all agree.

enum TScrollPart : int {
    kScrollNone = 0,
    kScrollArrow1, // up or left
    kScrollPage1,  // the track before the thumb
    kScrollThumb,
    kScrollPage2,  // the track after the thumb
    kScrollArrow2, // down or right
};

struct TScrollBarGeometry {
    bool Present = false; // the window shows this bar
    bool Vertical = true;
    RECT Bar;                 // window coordinates
    int Length = 0;           // along the bar
    int Arrow = 0;            // length of each arrow button
    int TrackLength = 0;      // between the arrows
    bool Unavailable = false; // disabled: no thumb, arrows grey
    bool HasThumb = false;
    int ThumbStart = 0; // from the bar's start (arrow included), exclusive end
    int ThumbEnd = 0;

    // The part under a point in window coordinates, kScrollNone outside the bar.
    int PartAt(POINT windowPoint) const;
    // A part's rectangle in window coordinates (empty when the part does not exist).
    RECT PartRect(int part) const;
    // The offset along the bar of a point in window coordinates.
    int Along(POINT windowPoint) const {
        return Vertical ? windowPoint.Y - Bar.Top : windowPoint.X - Bar.Left;
    }
};

// Smallest thumb, in pixels.
constexpr int kMinScrollThumb = 8;

// Whether the range leaves something to scroll: more than one position and a page smaller than
// the range.
bool IsScrollable(const TScrollBarState& state);
// The largest position a thumb can reach: Max - (Page - 1), never below Min.
int MaxScrollPos(const TScrollBarState& state);
// thickness is the bar's width across; trackPos, when given, places the thumb instead of Pos.
TScrollBarGeometry ComputeScrollBarGeometry(const TWindow& w, int bar, int thickness, bool windowEnabled,
                                            std::optional<int> trackPos);
// The position that puts the thumb's start at thumbStart (clamped to the track).
int ScrollPosFromThumb(const TScrollBarState& state, const TScrollBarGeometry& geometry, int thumbStart);
