// Sockets for the window's HTTP client that lead every host name to a port on 127.0.0.1, so that
// a test's own server plays the time service. The host names and ports the client asked for are
// recorded. While a ScopedLoopbackSockets lives, every new client gets the given layer.
#pragma once

#include "IdHTTPComponent.h"
#include "http/SocketLayer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class LoopbackSocketLayer : public http::SocketLayer {
public:
    explicit LoopbackSocketLayer(std::uint16_t port);

    // Where the connections go; may be changed between requests.
    std::uint16_t loopbackPort;
    std::vector<std::string> resolvedHosts;
    std::vector<std::uint16_t> requestedPorts;

    http::Ipv4Address Resolve(const std::string& host) override;
    std::unique_ptr<http::StreamSocket> Connect(const http::Ipv4Address& address,
                                                std::uint16_t port) override;

private:
    std::shared_ptr<http::SocketLayer> system_;
};

class ScopedLoopbackSockets {
public:
    explicit ScopedLoopbackSockets(std::shared_ptr<http::SocketLayer> layer)
        : previous_(ReplaceSocketLayerFactory([layer] { return layer; })) {}
    ~ScopedLoopbackSockets() { ReplaceSocketLayerFactory(std::move(previous_)); }
    ScopedLoopbackSockets(const ScopedLoopbackSockets&) = delete;
    ScopedLoopbackSockets& operator=(const ScopedLoopbackSockets&) = delete;

private:
    SocketLayerFactory previous_;
};
