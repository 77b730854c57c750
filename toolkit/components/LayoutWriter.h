#pragma once

// Writing a component tree as a layout: the root, then, nested, the children each component
// reports through GetChildren. Each object gets its custom data and then its published
// properties in the order its class publishes them, leaving out what is not stored and values
// equal to their stored default. Reading the result back gives the same values.

#include "toolkit/components/Component.h"
#include "toolkit/components/LayoutTree.h"
#include "toolkit/components/Status.h"

#include <string>

class TStream;

TLayoutObject WriteLayoutTree(TComponent* root);
std::string WriteLayoutText(TComponent* root);
TStatus WriteLayoutStream(TComponent* root, TStream& stream);

// The stored values of any persistent object as layout lines (prefix + name = value), as the
// writer produces them for a component; root resolves component references and may be null.
void WriteStoredProperties(const TObject* obj, const std::string& prefix, const TComponent* root,
                           std::vector<TLayoutProperty>& out);
