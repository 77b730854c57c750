// The choice of the display scale on arbitrary settings: the input, split at NUL bytes, gives the
// values of VARNEL_SCALE, GDK_SCALE and QT_SCALE_FACTOR (an empty part leaves that variable unset)
// and then the X resource database the X server hands out. Whatever they hold, the scale is one the
// presentation supports, and a scale decided by nothing is 1.

#include "toolkit/windowing/DisplayScale.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::array<std::string, 3> values;
    std::size_t start = 0;
    for (std::string& value : values) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        value = input.substr(std::min(start, input.size()), end - std::min(start, input.size()));
        start = end + 1;
    }
    const std::string database = start < input.size() ? input.substr(start) : std::string();
    static constexpr std::array<const char*, 3> kNames{"VARNEL_SCALE", "GDK_SCALE", "QT_SCALE_FACTOR"};
    const auto environment = [&](const char* name) -> const char* {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (std::strcmp(name, kNames[i]) == 0) {
                return values[i].empty() ? nullptr : values[i].c_str();
            }
        }
        return nullptr;
    };
    std::vector<std::string> ignored;
    const TDisplayScaleChoice choice = ChooseDisplayScale(
        environment, [&] { return database; }, &ignored);
    if (choice.Scale < 1 || choice.Scale > kMaxDisplayScale || (choice.Source.empty() && choice.Scale != 1)) {
        __builtin_trap();
    }
    (void)XResourceValue(database, "Xft.dpi");
    return 0;
}
