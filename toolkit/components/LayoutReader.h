#pragma once

// Creating a window's components from its layout.
//
// Loading runs in two passes. The first checks the whole layout against the classes it names,
// without touching anything: classes, component names, properties, values, references and
// handlers. The second creates the components in file order, owned by the root and parented by
// the enclosing object, with csLoading set on the root and on every component for the whole load;
// applies each object's values in the order its class publishes them (so a stored BorderColor
// that comes after UIStyle overrides what the look set); then binds component references and
// event handlers by name, calls Loaded on the root and each component in creation order, and only
// then clears csLoading. A component whose constructor refuses (CreationStatus) fails the load
// with its reason. A failure in either pass names the file, line and word; a failure in the
// second frees every component the load created, so no half-built window is left.

#include "toolkit/components/Component.h"
#include "toolkit/components/LayoutText.h"
#include "toolkit/components/Status.h"

#include <string_view>

class TStream;

// Loads a parsed layout into root, whose class must be the layout's class or derive from it.
TStatus ReadLayout(TComponent* root, const TLayoutObject& layout, std::string_view fileName,
                   TLayoutError* error = nullptr);
TStatus ReadLayoutText(TComponent* root, std::string_view text, std::string_view fileName,
                       TLayoutError* error = nullptr);
TStatus ReadLayoutStream(TComponent* root, TStream& stream, std::string_view fileName,
                         TLayoutError* error = nullptr);
// The layout compiled into the program under resourceName (app/Unit1.lfm is "Unit1").
TStatus ReadLayoutResource(TComponent* root, std::string_view resourceName, TLayoutError* error = nullptr);

// Creates the root from the class the layout names, owned by owner, and loads the layout into it.
// Null on failure, with nothing left behind.
TComponent* CreateFromLayoutText(std::string_view text, std::string_view fileName, TComponent* owner,
                                 TLayoutError* error = nullptr);
