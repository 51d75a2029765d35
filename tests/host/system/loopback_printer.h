// A printer on the loopback interface, for jobs sent to a socket:// port.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <string>

namespace testing_support {

// A listener on the loopback interface that takes one connection and keeps what it receives;
// every wait is bounded, so a fault fails the test instead of hanging it.
class LoopbackPrinter {
  public:
    LoopbackPrinter() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        received_ = std::async(std::launch::async, [this] { return Receive(); });
    }
    ~LoopbackPrinter() { close(listener_); }

    std::u16string Port() const {
        std::u16string port = u"socket://127.0.0.1:";
        for (char c : std::to_string(port_)) {
            port.push_back(static_cast<char16_t>(c));
        }
        return port;
    }
    std::string Received() { return received_.get(); }

  private:
    std::string Receive() {
        pollfd wait{listener_, POLLIN, 0};
        if (poll(&wait, 1, 10000) != 1) {
            return "<no connection>";
        }
        const int connection = accept(listener_, nullptr, nullptr);
        std::string bytes;
        char chunk[4096];
        pollfd readable{connection, POLLIN, 0};
        while (poll(&readable, 1, 10000) == 1) {
            const ssize_t got = read(connection, chunk, sizeof chunk);
            if (got <= 0) {
                break;
            }
            bytes.append(chunk, static_cast<size_t>(got));
        }
        close(connection);
        return bytes;
    }

    int listener_ = -1;
    uint16_t port_ = 0;
    std::future<std::string> received_;
};

}  // namespace testing_support
