#include "render/spool_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qv::render {

namespace {

size_t AppendFormatted(char* buffer, size_t capacity, size_t length, const char* format,
                       va_list args) {
    const int written = std::vsnprintf(buffer + length, capacity - length, format, args);
    if (written < 0) {
        buffer[length] = '\0';
        return length;
    }
    return std::min(capacity - 1, length + static_cast<size_t>(written));
}

}  // namespace

void SpoolText::Append(std::string_view text) {
    const size_t count = std::min(text.size(), Capacity - 1 - length_);
    std::memcpy(buffer_ + length_, text.data(), count);
    length_ += count;
    buffer_[length_] = '\0';
}

void SpoolText::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    length_ = AppendFormatted(buffer_, Capacity, length_, format, args);
    va_end(args);
}

void SpoolWriter::Write(std::string_view bytes) const {
    if (bytes.empty() || core_ == nullptr) {
        return;
    }
    uint32_t written = 0;
    core_->DrvWritePrinter(device_, bytes.data(), static_cast<uint32_t>(bytes.size()), &written);
}

void SpoolWriter::Format(const char* format, ...) const {
    char buffer[SpoolText::Capacity];
    va_list args;
    va_start(args, format);
    const size_t length = AppendFormatted(buffer, sizeof buffer, 0, format, args);
    va_end(args);
    Write(std::string_view(buffer, length));
}

}  // namespace qv::render
