// The job's spool data as the host driver produces it: bytes collect in a block, and each
// finished block is handed on whole, to the plug-in's WritePrinter when the plug-in takes over
// writing, otherwise to the spooler.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace host {

class SpoolStream {
public:
    using BlockSink = std::function<bool(std::span<const uint8_t> block)>;
    static constexpr size_t BlockSize = 64 * 1024;

    explicit SpoolStream(BlockSink sink) : sink_(std::move(sink)) { block_.reserve(BlockSize); }

    void Write(std::string_view bytes);
    // Hands on the pending block; false once any block was refused.
    bool Flush();

    uint64_t BytesWritten() const { return total_; }
    bool Failed() const { return failed_; }

private:
    BlockSink sink_;
    std::string block_;
    uint64_t total_ = 0;
    bool failed_ = false;
};

}  // namespace host
