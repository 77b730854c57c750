#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Files compiled into the program (everything under resources/ and the window layouts), found by
// name: the file name without its extension, compared without regard to letter case as classic
// resource names are. The bytes live as long as the program; each is followed by a NUL byte that
// is not part of the span, so text resources can be read as C strings.
std::optional<std::span<const std::byte>> FindEmbeddedResource(std::string_view name);

// The names of every embedded resource, in the order the build listed them.
std::vector<std::string> EmbeddedResourceNames();
