#include "Connection.h"

#include "Limits.h"
#include "SocketError.h"

namespace http {

void Connection::Open(const std::string& host, std::uint16_t port) {
    if (socket_ && (host != host_ || port != port_)) {
        Close();
    }
    if (socket_) {
        switch (socket_->Poll(kReusePoll)) {
        case PeerState::Quiet:
            return;
        case PeerState::Reset:
            Close();
            ThrowSocketError(kWsaConnReset);
        case PeerState::Closed:
        case PeerState::Readable:
            Close();
            break;
        }
    }
    const Ipv4Address address = sockets_->Resolve(host);
    socket_ = sockets_->Connect(address, port);
    host_ = host;
    port_ = port;
}

void Connection::Close() {
    socket_.reset();
}

} // namespace http
