#include "host/system/port_writer.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/system/machine.h"
#include "host/system/utf.h"
#include "platform/spooler.h"

namespace host {

namespace {

using platform::ERROR_ACCESS_DENIED;
using platform::ERROR_BAD_NETPATH;
using platform::ERROR_CONNECTION_REFUSED;
using platform::ERROR_INVALID_PARAMETER;
using platform::ERROR_PATH_NOT_FOUND;
using platform::ERROR_WRITE_FAULT;

constexpr int ConnectTimeoutMs = 10000;
constexpr timeval SendTimeout{30, 0};

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? text[i] + 32 : text[i];
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

std::optional<PortAddress> ParseSocket(std::u16string_view rest) {
    const size_t colon = rest.rfind(u':');
    if (colon == std::u16string_view::npos || colon == 0 || colon + 1 == rest.size() ||
        rest.size() - colon > 6) {
        return std::nullopt;
    }
    unsigned port = 0;
    for (const char16_t c : rest.substr(colon + 1)) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        port = port * 10 + (c - u'0');
    }
    std::u16string_view host = rest.substr(0, colon);
    if (host.size() > 2 && host.front() == u'[' && host.back() == u']') {
        host = host.substr(1, host.size() - 2);  // an IPv6 address
    }
    for (const char16_t c : host) {
        if (c <= u' ' || c > u'~' || c == u'/' || c == u'@') {
            return std::nullopt;
        }
    }
    if (port == 0 || port > 65535 || host.empty()) {
        return std::nullopt;
    }
    PortAddress address;
    address.kind = PortAddress::Kind::Socket;
    address.host = ToUtf8(host);
    address.service = std::to_string(port);
    return address;
}

bool IsAbsoluteFilePath(std::u16string_view port) {
    const bool drive =
        port.size() >= 3 &&
        ((port[0] >= u'A' && port[0] <= u'Z') || (port[0] >= u'a' && port[0] <= u'z')) &&
        port[1] == u':' && (port[2] == u'\\' || port[2] == u'/');
    const bool unc = port.size() >= 3 && port[0] == u'\\' && port[1] == u'\\';
    return port.size() > 1 && (port[0] == u'/' || drive || unc);
}

uint32_t ErrorOfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return ERROR_ACCESS_DENIED;
        default:
            return ERROR_WRITE_FAULT;
    }
}

// Connects within the time limit; the descriptor is left blocking, with a send time limit.
int Connect(const PortAddress& address, uint32_t& error) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.host.c_str(), address.service.c_str(), &hints, &found) != 0) {
        error = ERROR_BAD_NETPATH;
        return -1;
    }
    error = ERROR_CONNECTION_REFUSED;
    int descriptor = -1;
    for (addrinfo* entry = found; entry != nullptr && descriptor < 0; entry = entry->ai_next) {
        descriptor = socket(entry->ai_family, entry->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                            entry->ai_protocol);
        if (descriptor < 0) {
            continue;
        }
        int result = connect(descriptor, entry->ai_addr, entry->ai_addrlen);
        if (result != 0 && errno == EINPROGRESS) {
            pollfd wait{descriptor, POLLOUT, 0};
            int problem = ETIMEDOUT;
            socklen_t length = sizeof problem;
            if (poll(&wait, 1, ConnectTimeoutMs) == 1) {
                getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &problem, &length);
            }
            result = problem == 0 ? 0 : -1;
        }
        if (result != 0) {
            close(descriptor);
            descriptor = -1;
        }
    }
    freeaddrinfo(found);
    if (descriptor >= 0) {
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
        setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &SendTimeout, sizeof SendTimeout);
    }
    return descriptor;
}

}  // namespace

std::optional<PortAddress> PortWriter::Parse(std::u16string_view port) {
    if (StartsWithIgnoringCase(port, u"null:") && port.size() == 5) {
        return PortAddress{};
    }
    if (StartsWithIgnoringCase(port, u"stdout:") && port.size() == 7) {
        return PortAddress{PortAddress::Kind::StandardOutput, {}, {}, {}};
    }
    if (StartsWithIgnoringCase(port, u"socket://")) {
        return ParseSocket(port.substr(9));
    }
    if (!IsAbsoluteFilePath(port) || port.find(u',') != std::u16string_view::npos) {
        return std::nullopt;
    }
    PortAddress address;
    address.kind = PortAddress::Kind::File;
    address.file = MapPath(port);
    if (address.file.empty()) {
        return std::nullopt;
    }
    return address;
}

std::unique_ptr<PortWriter> PortWriter::Open(std::u16string_view ports, uint32_t& error) {
    const auto address = Parse(ports.substr(0, ports.find(u',')));
    if (!address) {
        error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    int descriptor = -1;
    switch (address->kind) {
        case PortAddress::Kind::Null:
            break;
        case PortAddress::Kind::File:
            descriptor =
                open(address->file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (descriptor < 0) {
                error = ErrorOfErrno(errno);
                return nullptr;
            }
            break;
        case PortAddress::Kind::StandardOutput:
            // A copy of the descriptor: the job's end closes it, not the process's output.
            descriptor = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
            if (descriptor < 0) {
                error = ErrorOfErrno(errno);
                return nullptr;
            }
            break;
        case PortAddress::Kind::Socket:
            descriptor = Connect(*address, error);
            if (descriptor < 0) {
                return nullptr;
            }
            break;
    }
    return std::unique_ptr<PortWriter>(new PortWriter(descriptor));
}

PortWriter::~PortWriter() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

bool PortWriter::Write(const void* data, size_t size, size_t& written, uint32_t& error) {
    written = 0;
    if (descriptor_ < 0) {
        written = size;
        return true;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (written < size) {
        // send() would fail on a file; write() would raise SIGPIPE on a closed socket.
        ssize_t result = send(descriptor_, bytes + written, size - written, MSG_NOSIGNAL);
        if (result < 0 && errno == ENOTSOCK) {
            result = write(descriptor_, bytes + written, size - written);
        }
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result <= 0) {
            error = result < 0 ? ErrorOfErrno(errno) : ERROR_WRITE_FAULT;
            return false;
        }
        written += static_cast<size_t>(result);
    }
    return true;
}

bool PortWriter::Close(uint32_t& error) {
    if (descriptor_ < 0) {
        return true;
    }
    shutdown(descriptor_, SHUT_WR);  // fails harmlessly on a file
    const int result = close(descriptor_);
    descriptor_ = -1;
    if (result != 0) {
        error = ErrorOfErrno(errno);
        return false;
    }
    return true;
}

}  // namespace host
