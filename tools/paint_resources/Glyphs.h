#pragma once

// The small symbols drawn on skin bitmaps, as vector shapes centred on (cx, cy). `size` is the
// symbol's overall extent in pixels and `weight` its stroke width, so each look can draw the same
// symbol finer or bolder.

#include "tools/paint_resources/Painter.h"

enum class TArrowDir { Up, Down, Left, Right };

TShape CrossGlyph(double cx, double cy, double size, double weight);
TShape MinusGlyph(double cx, double cy, double size, double weight);
TShape PlusGlyph(double cx, double cy, double size, double weight);
TShape CheckGlyph(double cx, double cy, double size, double weight);
// A filled triangle whose base is `size` wide and whose height is half of that.
TShape ArrowGlyph(double cx, double cy, double size, TArrowDir dir);
TShape ExclamationGlyph(double cx, double cy, double size, double weight);
TShape LetterIGlyph(double cx, double cy, double size, double weight);
TShape QuestionGlyph(double cx, double cy, double size, double weight);

// Window-state symbols of title-bar buttons.
TShape MaximiseGlyph(double cx, double cy, double size, double weight);
TShape RestoreGlyph(double cx, double cy, double size, double weight);
TShape MinimiseGlyph(double cx, double cy, double size, double weight);
TShape MenuGlyph(double cx, double cy, double size, double weight);

// An outline of the rectangle, `thickness` thick, inside the rectangle.
TShape FrameShape(double x0, double y0, double x1, double y1, double thickness);
// An outline of the rounded rectangle, inside it.
TShape RoundFrameShape(double x0, double y0, double x1, double y1, double r, double thickness);
