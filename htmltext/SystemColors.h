#pragma once

#include "base/Color.h"

namespace newsbell {

// The direct colour behind a colour value: system colours (0xFF000000 + index) become the
// desktop's usual defaults, so pictures look the same on every machine. Direct colours pass
// through; clNone stays clNone.
TColor resolveSystemColor(TColor color);

// The colour as Qt draws it, system colours resolved; clNone is transparent.
QColor toDrawnColor(TColor color);

} // namespace newsbell
