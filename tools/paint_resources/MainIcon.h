#pragma once

// The program's icon: a gold key on an aqua-blue tile, in the colours of the program's own windows.

#include "tools/paint_resources/Painter.h"

// The icon at 16 pixels square or larger, with real coverage in its alpha (see-through corners).
TImage PaintMainIcon(int size);
