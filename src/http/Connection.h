// The client's one TCP connection, kept open between requests to the same host and port.
#pragma once

#include "SocketLayer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace http {

class Connection {
public:
    explicit Connection(std::shared_ptr<SocketLayer> sockets) : sockets_(std::move(sockets)) {}

    // Makes sure a connection to host:port is open. An open one to the same place is polled for
    // a millisecond first: if the service has closed it (or sent bytes that belong to no
    // request) it is replaced without notice; if the service has reset it, it is closed and
    // EIdSocketError 10054 is thrown. A connection elsewhere is closed and a new one opened.
    void Open(const std::string& host, std::uint16_t port);

    bool IsOpen() const { return socket_ != nullptr; }
    // The open connection's stream; only while IsOpen().
    StreamSocket& Stream() { return *socket_; }
    void Close();

private:
    std::shared_ptr<SocketLayer> sockets_;
    std::unique_ptr<StreamSocket> socket_;
    std::string host_;
    std::uint16_t port_ = 0;
};

} // namespace http
