#pragma once

#include "toolkit/components/LayoutTree.h"
#include "toolkit/components/Persistent.h"
#include "toolkit/components/Status.h"
#include "toolkit/graphics/Graphic.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TBitmap;
class TIcon;
class TStream;

// Holds one graphic of any format (a bitmap, a JPEG image or an icon), or none. In layouts a
// picture stores either the file bytes of its graphic (`Picture.Data = { ... }`) or, when it
// was loaded from a built-in resource and not changed since, that resource's name
// (`Picture.Resource = 'MACOS_BUTTON'`).
class TPicture : public TPersistent {
    VARNEL_CLASS(TPicture, TPersistent)

public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    TGraphic* Graphic() const { return m_graphic.get(); }
    // Takes a copy of graphic (of the same class); none empties the picture.
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap; a graphic of another format is replaced by an empty bitmap first.
    TBitmap* Bitmap();
    // The same for icons.
    TIcon* Icon();

    int Width() const { return m_graphic ? m_graphic->Width() : 0; }
    int Height() const { return m_graphic ? m_graphic->Height() : 0; }
    bool Empty() const { return !m_graphic || m_graphic->Empty(); }

    // From another picture or a graphic; none empties the picture.
    void Assign(const TPersistent* source) override;

    // The format is chosen from the data: BMP, JPEG or icon.
    TStatus LoadFromBytes(std::span<const std::byte> data);
    TStatus LoadFromStream(TStream& stream);
    TStatus LoadFromFile(const std::string& fileName);
    TStatus LoadFromResourceName(std::string_view name);
    TStatus SaveToStream(TStream& stream) const;
    TStatus SaveToFile(const std::string& fileName) const;

    // The resource the picture shows unchanged, or empty.
    const std::string& ResourceName() const { return m_resourceName; }

    // Fired after the picture's graphic was replaced or changed.
    TNotifyEvent OnChange;

    // Layout data.
    TStatus ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
    bool HasData() const { return !Empty() && m_resourceName.empty(); }
    TStatus ReadResource(const TLayoutValue& value);
    std::optional<TLayoutValue> WriteResource() const;

private:
    void Replace(std::unique_ptr<TGraphic> graphic);
    void Changed();

    std::unique_ptr<TGraphic> m_graphic;
    std::string m_resourceName;
};
