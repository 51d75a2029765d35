// Recognition of the one kind of application pass-through data the plug-in wraps between the
// printer's special imagemask switches.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv::render {

constexpr std::string_view ImagemaskOn =
    "1183615869 internaldict /SetSpecialImagemaskFlag known {1183615869 internaldict "
    "/SetSpecialImagemaskFlag get 1 exch exec}if\r\n";
constexpr std::string_view ImagemaskOff =
    "1183615869 internaldict /SetSpecialImagemaskFlag known {1183615869 internaldict "
    "/SetSpecialImagemaskFlag get 0 exch exec}if\r\n";
static_assert(ImagemaskOn.size() == 125 && ImagemaskOff.size() == 125);

// The pass-through input (a 16-bit count, then PostScript text) is read no further than the
// declared size, whatever its count says.
bool IsWrappablePassThrough(const uint8_t* input, uint32_t size);

}  // namespace qv::render
