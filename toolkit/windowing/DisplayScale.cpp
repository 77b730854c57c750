#include "toolkit/windowing/DisplayScale.h"

#include "toolkit/graphics/PixelBuffer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Far beyond any screen, and small enough that widths and sums of device coordinates never
// overflow an int.
constexpr std::int64_t kDeviceLimit = std::int64_t{1} << 28;

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// The whole text as a decimal number, or nullopt.
std::optional<double> Number(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

int FloorDiv(int a, int n) {
    return a >= 0 ? a / n : -((-static_cast<std::int64_t>(a) + n - 1) / n);
}

int CeilDiv(int a, int n) {
    return -FloorDiv(-a, n);
}

} // namespace

// ---- Choosing the factor -----------------------------------------------------------------------

std::optional<std::string> XResourceValue(std::string_view database, std::string_view name) {
    while (!database.empty()) {
        const std::size_t newline = database.find('\n');
        const std::string_view line = database.substr(0, newline);
        database = newline == std::string_view::npos ? std::string_view{} : database.substr(newline + 1);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && Trim(line.substr(0, colon)) == name) {
            return std::string(Trim(line.substr(colon + 1)));
        }
    }
    return std::nullopt;
}

TDisplayScaleChoice ChooseDisplayScale(const TEnvironmentLookup& environment,
                                       const std::function<std::string()>& xResources,
                                       std::vector<std::string>* ignored) {
    const auto ignore = [&](std::string line) {
        if (ignored) {
            ignored->push_back(std::move(line));
        }
    };
    const auto variable = [&](const char* name) -> std::optional<std::string_view> {
        const char* value = environment ? environment(name) : nullptr;
        if (!value || !*value) {
            return std::nullopt;
        }
        return std::string_view(value);
    };
    const auto cap = [](int factor) { return std::min(factor, kMaxDisplayScale); };

    if (const auto value = variable("VARNEL_SCALE")) {
        const std::optional<int> factor = WholeNumber(Trim(*value));
        if (factor && *factor >= 1 && *factor <= kMaxDisplayScale) {
            return {*factor, "VARNEL_SCALE"};
        }
        ignore("VARNEL_SCALE=" + std::string(*value) +
               " is ignored: the scale is a whole number from 1 to 4");
    }
    if (const auto value = variable("GDK_SCALE")) {
        const std::optional<int> factor = WholeNumber(Trim(*value));
        if (factor && *factor >= 1) {
            return {cap(*factor), "GDK_SCALE"};
        }
        ignore("GDK_SCALE=" + std::string(*value) + " is ignored: it is not a whole number of at least 1");
    }
    if (const auto value = variable("QT_SCALE_FACTOR")) {
        // Fractional factors have no whole-pixel blocks: the whole part is the largest exact
        // scale that does not exceed what the desktop asked for.
        const std::optional<double> factor = Number(Trim(*value));
        if (factor && *factor > 0) {
            return {cap(std::max(1, static_cast<int>(std::min(*factor, 64.0)))), "QT_SCALE_FACTOR"};
        }
        ignore("QT_SCALE_FACTOR=" + std::string(*value) + " is ignored: it is not a number above 0");
    }
    if (xResources) {
        if (const std::optional<std::string> dpi = XResourceValue(xResources(), "Xft.dpi")) {
            const std::optional<double> value = Number(*dpi);
            if (value && *value > 0) {
                return {cap(std::max(1, static_cast<int>(std::min(*value, 10000.0) / 96))), "Xft.dpi"};
            }
            ignore("the X resource Xft.dpi: " + *dpi + " is ignored: it is not a number above 0");
        }
    }
    return {};
}

// ---- Mapping ---------------------------------------------------------------------------------------

TDisplayScale::TDisplayScale(int factor) : m_factor(std::clamp(factor, 1, kMaxDisplayScale)) {}

int TDisplayScale::ToLogical(int device) const {
    return FloorDiv(device, m_factor);
}

TPoint TDisplayScale::ToLogical(TPoint device) const {
    return {ToLogical(device.X), ToLogical(device.Y)};
}

TRect TDisplayScale::LogicalInside(const TRect& device) const {
    return {CeilDiv(device.Left, m_factor), CeilDiv(device.Top, m_factor), FloorDiv(device.Right, m_factor),
            FloorDiv(device.Bottom, m_factor)};
}

int TDisplayScale::ToDevice(int logical) const {
    return static_cast<int>(
        std::clamp(static_cast<std::int64_t>(logical) * m_factor, -kDeviceLimit, kDeviceLimit));
}

TRect TDisplayScale::ToDevice(const TRect& logical) const {
    return {ToDevice(logical.Left), ToDevice(logical.Top), ToDevice(logical.Right), ToDevice(logical.Bottom)};
}

int TDisplayScale::DeviceLength(int logical) const {
    return std::max(ToDevice(logical), 1);
}

void TDisplayScale::Blit(const TPixelBuffer& source, const TRect& area, std::uint8_t* target,
                         std::ptrdiff_t pitchBytes) const {
    const TRect r = IntersectRects(area, source.Bounds());
    if (r.IsEmpty()) {
        return;
    }
    const int n = m_factor;
    const std::size_t rowBytes = static_cast<std::size_t>(r.Width()) * n * sizeof(std::uint32_t);
    for (int y = r.Top; y < r.Bottom; ++y) {
        const std::uint32_t* from = source.Row(y) + r.Left;
        std::uint8_t* first = target + static_cast<std::ptrdiff_t>(y) * n * pitchBytes +
                              static_cast<std::ptrdiff_t>(r.Left) * n * sizeof(std::uint32_t);
        // One device row is made from the logical row; the other N - 1 are copies of it.
        if (n == 1) {
            std::memcpy(first, from, rowBytes);
        } else if (n == 2) {
            // Pairs written as one 64-bit store: the hot case of a 2× screen.
            for (int x = 0; x < r.Width(); ++x) {
                const std::uint64_t pair = from[x] * std::uint64_t{0x100000001};
                std::memcpy(first + static_cast<std::size_t>(x) * 8, &pair, 8);
            }
        } else {
            auto* row = reinterpret_cast<std::uint32_t*>(first);
            for (int x = 0; x < r.Width(); ++x) {
                std::fill_n(row + static_cast<std::ptrdiff_t>(x) * n, n, from[x]);
            }
        }
        for (int k = 1; k < n; ++k) {
            std::memcpy(first + k * pitchBytes, first, rowBytes);
        }
    }
}

void TDisplayScale::Fill(const TRect& area, std::uint32_t pixel, std::uint8_t* target,
                         std::ptrdiff_t pitchBytes) const {
    if (area.IsEmpty()) {
        return;
    }
    const TRect device = ToDevice(area);
    for (int y = device.Top; y < device.Bottom; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(target + static_cast<std::ptrdiff_t>(y) * pitchBytes);
        std::fill(row + device.Left, row + device.Right, pixel);
    }
}
