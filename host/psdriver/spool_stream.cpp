#include "host/psdriver/spool_stream.h"

namespace host {

void SpoolStream::Write(std::string_view bytes) {
    total_ += bytes.size();
    while (!bytes.empty()) {
        const size_t room = BlockSize - block_.size();
        block_.append(bytes.substr(0, room));
        bytes.remove_prefix(std::min(room, bytes.size()));
        if (block_.size() == BlockSize) {
            Flush();
        }
    }
}

bool SpoolStream::Flush() {
    if (!block_.empty()) {
        if (!sink_(std::span(reinterpret_cast<const uint8_t*>(block_.data()), block_.size()))) {
            failed_ = true;
        }
        block_.clear();
    }
    return !failed_;
}

}  // namespace host
