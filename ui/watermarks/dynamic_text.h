// Dynamic watermark text, expanded by the shared watermark library.
#pragma once

#include "watermark/dynamic_text.h"

namespace qv::ui {

using watermark::CheckDynamicText;
using watermark::DynamicTextCapacity;
using watermark::ExpandVariable;
using watermark::ExpandWatermarkText;
using watermark::ExpansionContext;
using watermark::ExpansionMode;

}  // namespace qv::ui
