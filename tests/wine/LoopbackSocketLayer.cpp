#include "LoopbackSocketLayer.h"

LoopbackSocketLayer::LoopbackSocketLayer(std::uint16_t port)
    : loopbackPort(port), system_(http::MakeSystemSocketLayer()) {}

http::Ipv4Address LoopbackSocketLayer::Resolve(const std::string& host) {
    resolvedHosts.push_back(host);
    return http::Ipv4Address{{127, 0, 0, 1}};
}

std::unique_ptr<http::StreamSocket> LoopbackSocketLayer::Connect(const http::Ipv4Address& address,
                                                                 std::uint16_t port) {
    requestedPorts.push_back(port);
    return system_->Connect(address, loopbackPort);
}
