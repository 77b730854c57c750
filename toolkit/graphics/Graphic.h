#pragma once

#include "toolkit/components/Persistent.h"
#include "toolkit/components/Status.h"
#include "toolkit/graphics/Types.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TCanvas;
class TStream;

// A picture of some format that can draw itself on a canvas: bitmaps, JPEG images, icons.
// Loading reads the format's own bytes; what cannot be decoded is a failure with a message and
// leaves the graphic as it was.
class TGraphic : public TPersistent {
    VARNEL_CLASS(TGraphic, TPersistent)

public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Formats that cannot change size ignore these.
    virtual void SetWidth(int width);
    virtual void SetHeight(int height);

    // When set, drawing leaves out the graphic's transparent parts (a bitmap's transparent
    // colour, an icon's mask).
    bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool transparent);

    virtual TStatus LoadFromBytes(std::span<const std::byte> data) = 0;
    // The graphic in its own format; a failure for an empty graphic.
    virtual TStatus SaveToBytes(std::vector<std::byte>& out) const = 0;
    // The rest of the stream from its position (at most TMemoryStream::kMaxSize bytes).
    TStatus LoadFromStream(TStream& stream);
    TStatus SaveToStream(TStream& stream) const;
    TStatus LoadFromFile(const std::string& fileName);
    TStatus SaveToFile(const std::string& fileName) const;
    // Loads the built-in resource of that name, in the graphic's own format.
    TStatus LoadFromResourceName(std::string_view name);

    // Fired after the graphic's picture or size changed.
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the graphic into rect of canvas, scaled to it.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
    virtual void Changed();

    bool m_transparent = false;
};
