#include "toolkit/components/Persistent.h"

#include <cassert>

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
    }
}

void TPersistent::AssignTo(TPersistent* /*dest*/) const {
    assert(!"Assign between classes that do not know each other");
}
