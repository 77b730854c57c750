#include "toolkit/components/Resources.h"

#include <strings.h>

struct TEmbeddedResourceEntry {
    const char* name;
    const unsigned char* begin;
    const unsigned char* end;
};

// Defined by the generated table of the build; the last entry has a null name.
extern const TEmbeddedResourceEntry g_embeddedResources[];

std::optional<std::span<const std::byte>> FindEmbeddedResource(std::string_view name) {
    for (const TEmbeddedResourceEntry* e = g_embeddedResources; e->name; ++e) {
        std::string_view entryName(e->name);
        if (entryName.size() == name.size() && strncasecmp(entryName.data(), name.data(), name.size()) == 0) {
            return std::span<const std::byte>(reinterpret_cast<const std::byte*>(e->begin),
                                              static_cast<std::size_t>(e->end - e->begin));
        }
    }
    return std::nullopt;
}

std::vector<std::string> EmbeddedResourceNames() {
    std::vector<std::string> names;
    for (const TEmbeddedResourceEntry* e = g_embeddedResources; e->name; ++e) {
        names.emplace_back(e->name);
    }
    return names;
}
