#include "toolkit/components/Resources.h"

#include <algorithm>
#include <cctype>

#include <gtest/gtest.h>

TEST(EmbeddedResources, UnknownNameIsNotFound) {
    EXPECT_FALSE(FindEmbeddedResource("NO_SUCH_RESOURCE_ANYWHERE").has_value());
    EXPECT_FALSE(FindEmbeddedResource("").has_value());
}

TEST(EmbeddedResources, EveryListedNameIsFoundInAnyLetterCase) {
    for (const std::string& name : EmbeddedResourceNames()) {
        auto exact = FindEmbeddedResource(name);
        ASSERT_TRUE(exact.has_value()) << name;
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        auto folded = FindEmbeddedResource(lower);
        ASSERT_TRUE(folded.has_value()) << lower;
        EXPECT_EQ(folded->data(), exact->data());
        // The byte after the data is a NUL, so text resources read as C strings.
        EXPECT_EQ(static_cast<char>(*(exact->data() + exact->size())), '\0');
    }
}
