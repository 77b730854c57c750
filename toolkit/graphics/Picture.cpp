#include "toolkit/graphics/Picture.h"

#include "toolkit/components/Properties.h"
#include "toolkit/components/Resources.h"
#include "toolkit/components/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/ImageFormat.h"
#include "toolkit/graphics/JPEGImage.h"

VARNEL_CLASS_INFO(TPicture, [](auto& c) {
    c.BinaryData("Data", &TPicture::ReadData, &TPicture::WriteData, &TPicture::HasData);
    c.ValueData("Resource", &TPicture::ReadResource, &TPicture::WriteResource);
})

namespace {

std::unique_ptr<TGraphic> GraphicFor(TImageFormat format) {
    switch (format) {
    case TImageFormat::Bmp:
        return std::make_unique<TBitmap>();
    case TImageFormat::Jpeg:
        return std::make_unique<TJPEGImage>();
    case TImageFormat::Icon:
        return std::make_unique<TIcon>();
    default:
        return nullptr;
    }
}

} // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}

void TPicture::Replace(std::unique_ptr<TGraphic> graphic) {
    m_graphic = std::move(graphic);
    m_resourceName.clear();
    if (m_graphic) {
        m_graphic->OnChange = [this](TObject*) {
            m_resourceName.clear();
            Changed();
        };
    }
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (!graphic) {
        Replace(nullptr);
        return;
    }
    if (graphic == m_graphic.get()) {
        return;
    }
    std::unique_ptr<TPersistent> made(graphic->ClassInfo().Create());
    auto* copy = dynamic_cast<TGraphic*>(made.get());
    if (!copy) {
        return;
    }
    made.release();
    std::unique_ptr<TGraphic> owned(copy);
    owned->Assign(graphic);
    Replace(std::move(owned));
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(m_graphic.get())) {
        Replace(std::make_unique<TBitmap>());
    }
    return static_cast<TBitmap*>(m_graphic.get());
}

TIcon* TPicture::Icon() {
    if (!dynamic_cast<TIcon*>(m_graphic.get())) {
        Replace(std::make_unique<TIcon>());
    }
    return static_cast<TIcon*>(m_graphic.get());
}

void TPicture::Assign(const TPersistent* source) {
    if (source == this) {
        return;
    }
    if (auto* picture = dynamic_cast<const TPicture*>(source)) {
        SetGraphic(picture->Graphic());
        m_resourceName = picture->m_resourceName;
        return;
    }
    if (!source) {
        SetGraphic(nullptr);
        return;
    }
    if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(graphic);
        return;
    }
    TPersistent::Assign(source);
}

TStatus TPicture::LoadFromBytes(std::span<const std::byte> data) {
    std::unique_ptr<TGraphic> graphic = GraphicFor(DetectImageFormat(data));
    if (!graphic) {
        return TStatus::Fail("unknown picture format: the data is not BMP, JPEG or an icon");
    }
    if (TStatus status = graphic->LoadFromBytes(data); !status) {
        return status;
    }
    Replace(std::move(graphic));
    return TStatus::Ok();
}

TStatus TPicture::LoadFromStream(TStream& stream) {
    return LoadFromBytes(stream.ReadAll(static_cast<std::size_t>(TMemoryStream::kMaxSize)));
}

TStatus TPicture::LoadFromFile(const std::string& fileName) {
    TMemoryStream stream;
    if (TStatus status = stream.LoadFromFile(fileName); !status) {
        return status;
    }
    TStatus status = LoadFromStream(stream);
    return status ? status : TStatus::Fail(fileName + ": " + status.Message());
}

TStatus TPicture::LoadFromResourceName(std::string_view name) {
    std::optional<std::span<const std::byte>> data = FindEmbeddedResource(name);
    if (!data) {
        return TStatus::Fail("Resource " + std::string(name) + " not found");
    }
    if (TStatus status = LoadFromBytes(*data); !status) {
        return TStatus::Fail("Resource " + std::string(name) + ": " + status.Message());
    }
    m_resourceName = std::string(name);
    return TStatus::Ok();
}

TStatus TPicture::SaveToStream(TStream& stream) const {
    if (Empty()) {
        return TStatus::Fail("an empty picture has nothing to save");
    }
    return m_graphic->SaveToStream(stream);
}

TStatus TPicture::SaveToFile(const std::string& fileName) const {
    if (Empty()) {
        return TStatus::Fail("an empty picture has nothing to save");
    }
    return m_graphic->SaveToFile(fileName);
}

TStatus TPicture::ReadData(TStream& stream) {
    std::vector<std::byte> bytes = stream.ReadAll(static_cast<std::size_t>(TMemoryStream::kMaxSize));
    if (bytes.empty()) {
        SetGraphic(nullptr);
        return TStatus::Ok();
    }
    return LoadFromBytes(bytes);
}

void TPicture::WriteData(TStream& stream) const {
    std::vector<std::byte> bytes;
    if (m_graphic && m_graphic->SaveToBytes(bytes)) {
        stream.WriteBuffer(bytes);
    }
}

TStatus TPicture::ReadResource(const TLayoutValue& value) {
    if (value.type != TLayoutValue::TType::String && value.type != TLayoutValue::TType::Identifier) {
        return TStatus::Fail("a resource name expected");
    }
    return LoadFromResourceName(value.text);
}

std::optional<TLayoutValue> TPicture::WriteResource() const {
    if (m_resourceName.empty() || Empty()) {
        return std::nullopt;
    }
    return TLayoutValue::Str(m_resourceName);
}
