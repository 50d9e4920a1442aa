#pragma once

#include "base/Error.h"

#include <string>

namespace newsbell {

// Lists of pictures refuse a position they do not have, as every list of the program does.
inline void checkListIndex(int index, int count) {
    if (index < 0 || index >= count)
        throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace newsbell
