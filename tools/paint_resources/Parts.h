#pragma once

// Recipes for the small parts that every look has (boxes, scroll arrows, sliders, tabs...). Each look
// describes itself once in a TPalette, so its parts share one set of colours and one corner
// radius, and the recipes keep the rules that the skin's drawing code relies on: opaque parts are
// painted on the colour they are seen against, strips that get stretched are uniform along the
// stretch, and see-through parts key out only what lies beyond their outline.

#include "tools/paint_resources/Glyphs.h"
#include "tools/paint_resources/Painter.h"

#include <functional>

struct TPalette {
    TRgb backdrop;  // the form and control background the parts are seen against
    TRgb trackBack; // the scroll bar's background colour

    TRgb border;    // outline of resting parts
    TRgb hotBorder; // outline under the pointer
    TRgb faceTop, faceBottom;
    TRgb hotTop, hotBottom;
    TRgb downTop, downBottom;

    TRgb boxBorder; // fields of check boxes, radio buttons and check lists
    TRgb boxTop, boxBottom;

    TRgb fillBorder; // "on" areas: progress, thumbs, checked boxes
    TRgb fillTop, fillBottom;

    TRgb mark;       // check marks and dots in boxes
    TRgb markOnFill; // the same in filled boxes
    TRgb arrow;      // arrows on resting and hot faces
    TRgb arrowDown;  // arrows on pressed faces

    double radius = 2;        // corner radius of boxes and buttons
    double gloss = 0;         // strength of the white upper highlight; 0 for matte looks
    bool fillChecked = false; // a checked box is filled with the fill colours, not only marked
};

enum class TFaceState { Normal, Hot, Down };

// The title-bar buttons in the order of their strip; each has a normal, hot and pressed frame.
enum class TTitleSymbol { Menu, Help, Maximise, Restore, Minimise, Close };

// The window-state symbol of a title-bar button, at a nominal size and stroke weight.
TShape TitleSymbolShape(TTitleSymbol symbol, double cx, double cy, double size, double weight);

// The 18-frame title-bar button strip: control box, help, maximise, restore, minimise and close,
// each normal, hot and pressed, every frame size × size.
TImage TitleButtonStrip(int size, const std::function<TImage(TTitleSymbol, TFaceState)>& paintFrame);

// An opaque image whose row y has the colour rowColor(firstRow + y): the strip of a title bar that
// lies under its buttons.
TImage RowImage(int width, int height, int firstRow, const std::function<TRgb(int)>& rowColor);

// The art over the background, keyed out where the art does not reach, so its anti-aliased edges
// blend with the very colours it will be seen against.
TImage KeyedOver(const TImage& background, const TImage& art);

// A rounded face: a border of `border` colour, then a top-to-bottom gradient inside, then an upper
// highlight of strength `gloss`.
void PaintFace(TImage& img, TBox box, double r, TRgb border, TRgb top, TRgb bottom, double gloss);
// The same with the gradient running across the face from both edges to its middle, so that the
// part looks the same when the skin turns it a quarter turn.
void PaintCylinderFace(TImage& img, TBox box, double r, TRgb border, TRgb edge, TRgb middle, bool alongX,
                       double gloss);

// Four frames: checked, unchecked, checked and disabled, unchecked and disabled.
TImage CheckBoxStrip(const TPalette& p, int frameWidth, int height, double boxSize);
TImage RadioButtonStrip(const TPalette& p, int frameWidth, int height, double dotSize);
TImage CheckListStrip(const TPalette& p, int frameWidth, int height);

// Six frames for a vertical bar: up normal, hot, pressed; down normal, hot, pressed.
TImage ScrollArrowStrip(const TPalette& p, int frameWidth, int height, double inset);
// Three frames for a horizontal bar: left cap, body, right cap of the thumb.
TImage ScrollThumbStrip(const TPalette& p, int frameWidth, int height, double inset);

// Three frames: left cap, middle, right cap of the track bar's groove (see-through caps).
TImage TrackBarGroove(const TPalette& p, int width, int height, double grooveHeight);
// The thumb of a horizontal track bar, pointing down (see-through).
TImage TrackBarThumb(const TPalette& p, int width, int height);
// The thumb of a vertical track bar, pointing right (opaque).
TImage TrackBarThumbV(const TPalette& p, int width, int height);

TImage ProgressFill(const TPalette& p, int width, int height);

// Four frames: left normal, left pressed, right normal, right pressed.
TImage TabScrollStrip(const TPalette& p, int frameWidth, int height);
// One tab whose middle third is uniform across, so it can be drawn in three parts or stretched.
TImage TabPicture(const TPalette& p, int width, int height, TRgb accent);
TImage TabLine(const TPalette& p, int width, int height);
TImage SideChannelHandle(const TPalette& p, int width, int height);
TImage SideChannelBar(const TPalette& p, int width, int height);
