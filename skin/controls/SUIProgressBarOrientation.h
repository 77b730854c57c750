#pragma once

// The direction of the progress bar, the track bar and the scroll bar.

#include "toolkit/components/Properties.h"

#include <cstdint>
#include <string_view>

enum TsuiProgressBarOrientation : std::uint8_t { suiHorizontal, suiVertical };
inline constexpr std::string_view kProgressBarOrientationNames[] = {"suiHorizontal", "suiVertical"};
inline constexpr TEnumInfo ProgressBarOrientationInfo{"TsuiProgressBarOrientation",
                                                      kProgressBarOrientationNames};
