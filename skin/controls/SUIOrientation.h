#pragma once

// The direction of growth shared by the progress bar, the track bar and the scroll bar: left to
// right, or bottom to top.

#include "toolkit/components/Properties.h"

#include <cstdint>
#include <string_view>

enum TsuiProgressBarOrientation : std::uint8_t { suiHorizontal, suiVertical };
inline constexpr std::string_view kProgressBarOrientationNames[] = {"suiHorizontal", "suiVertical"};
inline constexpr TEnumInfo ProgressBarOrientationInfo{"TsuiProgressBarOrientation",
                                                      kProgressBarOrientationNames};
