// Composing and writing spool output. Every piece of output is composed in a 2048-byte working
// buffer (longer output is cut at 2047 characters) and written with one DrvWritePrinter call of
// its length; an empty piece is not written. Results of writes are not looked at: the host keeps
// the stream.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string_view>

#include "platform/oem_ps.h"

namespace qv::render {

class SpoolText {
public:
    static constexpr size_t Capacity = 2048;

    SpoolText() { buffer_[0] = '\0'; }
    explicit SpoolText(std::string_view text) : SpoolText() { Append(text); }

    void Append(std::string_view text);
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    std::string_view View() const { return {buffer_, length_}; }

private:
    char buffer_[Capacity];
    size_t length_ = 0;
};

class SpoolWriter {
public:
    SpoolWriter(platform::PDEVOBJ device, platform::IPrintCorePS2* core)
        : device_(device), core_(core) {}

    void Write(std::string_view bytes) const;
    void Write(const SpoolText& text) const { Write(text.View()); }

    // Composes one formatted piece and writes it.
    void Format(const char* format, ...) const __attribute__((format(printf, 2, 3)));

private:
    platform::PDEVOBJ device_;
    platform::IPrintCorePS2* core_;
};

}  // namespace qv::render
