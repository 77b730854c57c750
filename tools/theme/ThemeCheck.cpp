#include "tools/theme/ThemeCheck.h"

#include "skin/core/SUIThemeFileReader.h"
#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/PixelBuffer.h"
#include "tools/theme/ThemeTool.h"

#include <memory>

namespace {

// The entry type an element is stored under.
TsuiThemeEntryType EntryTypeFor(TsuiThemeValueKind kind) {
    switch (kind) {
    case TsuiThemeValueKind::Bitmap:
        return TsuiThemeEntryType::Image;
    case TsuiThemeValueKind::Boolean:
        return TsuiThemeEntryType::Boolean;
    case TsuiThemeValueKind::Integer:
    case TsuiThemeValueKind::Color:
        break;
    }
    return TsuiThemeEntryType::Integer;
}

// "an image entry", "an integer entry (a colour)", ...: what an element needs.
std::string NeededEntry(TsuiThemeElement element) {
    const TsuiThemeValueKind kind = ThemeElementKind(element);
    switch (kind) {
    case TsuiThemeValueKind::Bitmap:
        return "an image entry";
    case TsuiThemeValueKind::Boolean:
        return "a boolean entry";
    case TsuiThemeValueKind::Color:
        return "an integer entry (a colour)";
    case TsuiThemeValueKind::Integer:
        break;
    }
    return "an integer entry";
}

// What the components get in place of an element the file does not give them.
const char* WithoutIt(TsuiThemeElement element) {
    switch (ThemeElementKind(element)) {
    case TsuiThemeValueKind::Bitmap:
        return "what uses it is left unpainted";
    case TsuiThemeValueKind::Boolean:
        return "components read False";
    case TsuiThemeValueKind::Integer:
    case TsuiThemeValueKind::Color:
        break;
    }
    return "components read -1";
}

// How an entry is named in a finding: as stored, with anything unprintable escaped.
std::string EntryName(const TsuiThemeFileRecord& record) {
    return record.Name.empty() ? "(entry without a name)" : PrintableText(record.Name);
}

std::string RecordTypeText(std::uint8_t type) {
    if (type > 3) {
        return "a record of unknown type " + std::to_string(type) + ", which carries nothing";
    }
    const std::string name = ThemeEntryTypeName(type);
    return (name == "image" || name == "integer" ? "an " : "a ") + name + " entry";
}

} // namespace

int ThemeElementFrames(TsuiThemeElement element) {
    switch (element) {
    case TsuiThemeElement::ButtonImage:
        return 3; // normal, mouse over, pressed
    case TsuiThemeElement::CheckBoxImage:
    case TsuiThemeElement::RadioButtonImage:
        return 4; // checked, unchecked, and both disabled
    case TsuiThemeElement::TitleBarButtonImage:
        return 18; // six buttons of three states each
    case TsuiThemeElement::TrackBarBarImage:
        return 3; // left cap, stretched middle, right cap
    case TsuiThemeElement::ScrollBarButtonImage:
        return 6; // two arrows of three states each
    case TsuiThemeElement::ScrollBarSliderImage:
        return 3; // head, body, tail
    default:
        return 1;
    }
}

TStatus CheckTheme(const std::string& file, std::vector<TThemeFinding>& findings) {
    findings.clear();
    std::unique_ptr<TsuiThemeFileReader> reader;
    TStatus status = TsuiThemeFileReader::Load(file, reader);
    if (!status) {
        return status;
    }
    const std::vector<TsuiThemeFileRecord>& records = reader->Records();
    auto add = [&](TThemeFindingKind kind, const std::string& key, const std::string& what) {
        findings.push_back({kind, key, key + ": " + what});
    };

    for (int n = 1; n <= kThemeElementCount; ++n) {
        const auto element = static_cast<TsuiThemeElement>(n);
        const std::string key(ThemeElementKey(element));
        const auto wanted = static_cast<std::uint8_t>(EntryTypeFor(ThemeElementKind(element)));
        bool found = false;
        for (const TsuiThemeFileRecord& record : records) {
            if (FindThemeElement(record.Name) != element) {
                continue;
            }
            const std::string name = EntryName(record);
            if (record.Type != wanted) {
                found = true;
                add(TThemeFindingKind::WrongType, name,
                    "wrong type: " + RecordTypeText(record.Type) + " where the element needs " +
                        NeededEntry(element));
                continue;
            }
            if (!record.Used) {
                continue; // a second entry of the name: reported with the unused ones
            }
            found = true;
            if (record.Type != static_cast<std::uint8_t>(TsuiThemeEntryType::Image)) {
                continue;
            }
            TPixelBuffer pixels;
            TStatus decoded = DecodeBmp(reader->Data(record), pixels);
            if (!decoded) {
                add(TThemeFindingKind::Unreadable, name, "not a readable bitmap: " + decoded.Message());
                continue;
            }
            const int frames = ThemeElementFrames(element);
            if (pixels.Width() % frames != 0) {
                add(TThemeFindingKind::StripWidth, name,
                    std::to_string(pixels.Width()) + " pixels wide, which does not divide into its " +
                        std::to_string(frames) + " frames (the width must be a multiple of " +
                        std::to_string(frames) + ")");
            }
        }
        if (!found) {
            add(TThemeFindingKind::Missing, key,
                "missing: " + NeededEntry(element) + " is needed; " + WithoutIt(element));
        }
    }

    for (const TsuiThemeFileRecord& record : records) {
        const std::optional<TsuiThemeElement> element = FindThemeElement(record.Name);
        const std::string name = EntryName(record);
        if (!element) {
            add(TThemeFindingKind::Unused, name,
                "unused: " + RecordTypeText(record.Type) + " that no element reads");
        } else if (record.Type == static_cast<std::uint8_t>(EntryTypeFor(ThemeElementKind(*element))) &&
                   !record.Used) {
            add(TThemeFindingKind::Unused, name,
                "unused: a second " + std::string(ThemeEntryTypeName(record.Type)) +
                    " entry of this name; the first one is read");
        }
    }
    return TStatus::Ok();
}
