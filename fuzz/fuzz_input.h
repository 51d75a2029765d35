// Reading a fuzzer's input as the values a target needs, never past its end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qvfuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <typename T>
    T Take() {
        T value{};
        const size_t count = std::min(sizeof value, size_ - offset_);
        std::memcpy(&value, data_ + offset_, count);
        offset_ += count;
        return value;
    }

    // Up to `count` bytes, fewer when the input runs out.
    std::vector<uint8_t> Bytes(size_t count) {
        count = std::min(count, size_ - offset_);
        std::vector<uint8_t> bytes(data_ + offset_, data_ + offset_ + count);
        offset_ += count;
        return bytes;
    }

    std::vector<uint8_t> Rest() { return Bytes(size_ - offset_); }
    bool Empty() const { return offset_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};

}  // namespace qvfuzz
