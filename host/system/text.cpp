#include "platform/text.h"

#include <unicode/stringoptions.h>
#include <unicode/ustring.h>

namespace platform {

int32_t CompareStringOrdinal(const char16_t* a, int32_t lengthA, const char16_t* b, int32_t lengthB,
                             BOOL ignoreCase) {
    if ((a == nullptr && lengthA != 0) || (b == nullptr && lengthB != 0) || lengthA < -1 ||
        lengthB < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const UChar* left = a != nullptr ? a : u"";
    const UChar* right = b != nullptr ? b : u"";
    int32_t order = 0;
    if (ignoreCase) {
        UErrorCode status = U_ZERO_ERROR;
        order = u_strCaseCompare(left, lengthA, right, lengthB,
                                 U_FOLD_CASE_DEFAULT | U_COMPARE_CODE_POINT_ORDER, &status);
        if (U_FAILURE(status)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
    } else {
        order = u_strCompare(left, lengthA, right, lengthB, true);
    }
    return order < 0 ? CSTR_LESS_THAN : order > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

}  // namespace platform
