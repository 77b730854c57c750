#include "toolkit/components/Persistent.h"

#include <cassert>

const TClassInfo& TObject::StaticClassInfo() {
    static const TClassInfo info("TObject", nullptr);
    return info;
}

VARNEL_CLASS_INFO(TPersistent)

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
    }
}

void TPersistent::AssignTo(TPersistent* /*dest*/) const {
    assert(!"Assign between classes that do not know each other");
}
