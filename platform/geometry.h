// Points, sizes and rectangles in device pixels, shared by the window system and the device
// contexts.
#pragma once

#include <cstdint>

namespace platform {

struct POINT {
    int32_t x;
    int32_t y;
};

struct SIZE {
    int32_t cx;
    int32_t cy;
};

struct RECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

}  // namespace platform
