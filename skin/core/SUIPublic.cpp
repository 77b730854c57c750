#include "skin/core/SUIPublic.h"

bool IsFormComponent(const TComponent* component) {
    return component && (component->InheritsFrom("TCustomForm") || component->InheritsFrom("TForm"));
}
