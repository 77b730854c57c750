#include "toolkit/graphics/Graphic.h"

#include "toolkit/components/Resources.h"
#include "toolkit/components/Streams.h"

VARNEL_CLASS_INFO(TGraphic)

void TGraphic::SetWidth(int) {}

void TGraphic::SetHeight(int) {}

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == m_transparent) {
        return;
    }
    m_transparent = transparent;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}

TStatus TGraphic::LoadFromStream(TStream& stream) {
    std::vector<std::byte> bytes = stream.ReadAll(static_cast<std::size_t>(TMemoryStream::kMaxSize));
    return LoadFromBytes(bytes);
}

TStatus TGraphic::SaveToStream(TStream& stream) const {
    std::vector<std::byte> bytes;
    if (TStatus status = SaveToBytes(bytes); !status) {
        return status;
    }
    if (!stream.WriteBuffer(bytes)) {
        return TStatus::Fail("cannot write " + std::to_string(bytes.size()) +
                             " bytes of the picture to the stream");
    }
    return TStatus::Ok();
}

TStatus TGraphic::LoadFromFile(const std::string& fileName) {
    TMemoryStream stream;
    if (TStatus status = stream.LoadFromFile(fileName); !status) {
        return status;
    }
    TStatus status = LoadFromStream(stream);
    if (!status) {
        return TStatus::Fail(fileName + ": " + status.Message());
    }
    return status;
}

TStatus TGraphic::LoadFromResourceName(std::string_view name) {
    std::optional<std::span<const std::byte>> data = FindEmbeddedResource(name);
    if (!data) {
        return TStatus::Fail("Resource " + std::string(name) + " not found");
    }
    TStatus status = LoadFromBytes(*data);
    if (!status) {
        return TStatus::Fail("Resource " + std::string(name) + ": " + status.Message());
    }
    return status;
}

TStatus TGraphic::SaveToFile(const std::string& fileName) const {
    TMemoryStream stream;
    if (TStatus status = SaveToStream(stream); !status) {
        return status;
    }
    return stream.SaveToFile(fileName);
}
