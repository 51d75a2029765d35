// The host's DSC splitting of documents on fuzzed text.
#include <string>

#include "host/psdriver/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    host::Document::FromDsc(text);
    host::Document::FromDsc("%!PS-Adobe-3.0\n" + text);
    return 0;
}
