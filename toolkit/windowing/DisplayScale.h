#pragma once

#include "toolkit/graphics/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TPixelBuffer;

// Whole-window integer scaling. The toolkit, the skin and the program work in logical pixels; a
// backend presenting at scale N shows each logical pixel as an N × N block of device pixels, so
// pixel-exact drawings stay exact, only bigger, and it reports the pointer back in logical
// pixels. Both backends share this arithmetic, so what a test sees headless is what the screen
// shows.

constexpr int kMaxDisplayScale = 4;

// ---- Choosing the factor -----------------------------------------------------------------------

struct TDisplayScaleChoice {
    int Scale = 1;
    // What decided it: "VARNEL_SCALE", "GDK_SCALE", "QT_SCALE_FACTOR", "Xft.dpi", or empty when
    // nothing did.
    std::string Source;
};

// Reads an environment variable: its value, or nullptr when it is not set.
using TEnvironmentLookup = std::function<const char*(const char*)>;

// The factor the program presents at. VARNEL_SCALE (1 to 4) when set; otherwise what the desktop
// asks of every program: GDK_SCALE, QT_SCALE_FACTOR taken as a whole number, or the X resource
// Xft.dpi in 96-dpi steps (192 is 2, 288 is 3); otherwise 1. The first usable source decides;
// desktop factors above the largest supported one give the largest. Every value that cannot be
// used adds one line to ignored and is passed over. xResources gives the X resource database
// string and is asked only when the variables decide nothing (it opens a display connection).
TDisplayScaleChoice ChooseDisplayScale(const TEnvironmentLookup& environment,
                                       const std::function<std::string()>& xResources,
                                       std::vector<std::string>* ignored);

// The value of one resource in an X resource database string ("name:\tvalue" lines); nullopt
// when the database does not name it.
std::optional<std::string> XResourceValue(std::string_view database, std::string_view name);

// ---- Mapping between logical and device pixels ------------------------------------------------------

class TDisplayScale {
public:
    // Factors outside 1 ... kMaxDisplayScale are taken as the nearest one inside.
    explicit TDisplayScale(int factor = 1);

    int Factor() const { return m_factor; }

    // The logical pixel that holds the device pixel (rounding towards minus infinity, so that
    // the pixels left of and above a window map outside it too).
    int ToLogical(int device) const;
    TPoint ToLogical(TPoint device) const;
    // The largest logical rectangle whose device pixels all lie inside the device rectangle: a
    // work area never reaches under a panel.
    TRect LogicalInside(const TRect& device) const;

    // Device coordinates of a logical one, saturated far beyond any screen instead of
    // overflowing.
    int ToDevice(int logical) const;
    TRect ToDevice(const TRect& logical) const;
    // A window's device size: at least one pixel (no platform makes an empty window).
    int DeviceLength(int logical) const;

    // Copies the area of source (clipped to it) into device pixels, each pixel as an N × N block.
    // Device row y starts at target + y * pitchBytes; the target must hold ToDevice(area) whole.
    void Blit(const TPixelBuffer& source, const TRect& area, std::uint8_t* target,
              std::ptrdiff_t pitchBytes) const;
    // Fills the device block of a logical rectangle with one pixel.
    void Fill(const TRect& area, std::uint32_t pixel, std::uint8_t* target, std::ptrdiff_t pitchBytes) const;

private:
    int m_factor = 1;
};
