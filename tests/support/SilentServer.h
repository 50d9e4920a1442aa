#pragma once

#include <QString>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace newsbell::testing {

// A web server that takes every connection and never answers, on loopback. Closing it resets
// the connections it holds, so that reads waiting on it end.
class SilentServer {
public:
    SilentServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* any = reinterpret_cast<sockaddr*>(&address);
        if (::bind(listener_, any, length) == 0 && ::listen(listener_, 16) == 0 &&
            ::getsockname(listener_, any, &length) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~SilentServer() {
        for (int connection : connections_) close(connection);
        ::close(listener_);
    }
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    QString url() const { return QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(port_); }

    // How many connections came so far; each is held open and never answered.
    int connections() {
        for (int connection;
             (connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
            connections_.push_back(connection);
        return int(connections_.size());
    }

private:
    static void close(int connection) {
        // A reset rather than an orderly end, as a server that went away gives.
        const linger abort{1, 0};
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        ::close(connection);
    }

    int listener_ = -1;
    int port_ = 0;
    std::vector<int> connections_;
};

} // namespace newsbell::testing
