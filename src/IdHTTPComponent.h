// TIdHTTP as a component of the main window: the HTTP client that the calibration uses. Creating
// it starts the system's socket library; a failure there fails the window's creation.
#pragma once

#include "forms/Component.h"
#include "http/IdHTTP.h"
#include "http/SocketLayer.h"

#include <functional>
#include <memory>
#include <string>

class TIdHTTP : public forms::TComponent {
public:
    static constexpr const char* kClassName = "TIdHTTP";

    explicit TIdHTTP(forms::TComponent* owner);

    // One GET of an "http://host/path" URL; the body, byte for byte (see http::TIdHTTP::Get).
    std::string Get(const std::string& url) { return client_.Get(url); }
    http::TIdHTTP& Client() { return client_; }

private:
    http::TIdHTTP client_;
};

// Where the clients created from now on get their sockets: the system's (Winsock) unless
// replaced. An empty function restores the system's. Returns the factory in force before.
using SocketLayerFactory = std::function<std::shared_ptr<http::SocketLayer>()>;
SocketLayerFactory ReplaceSocketLayerFactory(SocketLayerFactory factory);
