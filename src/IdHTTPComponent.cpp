#include "IdHTTPComponent.h"

namespace {

SocketLayerFactory& CurrentFactory() {
    static SocketLayerFactory factory;
    return factory;
}

std::shared_ptr<http::SocketLayer> MakeSocketLayer() {
    const SocketLayerFactory& factory = CurrentFactory();
    return factory ? factory() : http::MakeSystemSocketLayer();
}

} // namespace

TIdHTTP::TIdHTTP(forms::TComponent* owner) : TComponent(owner), client_(MakeSocketLayer()) {}

SocketLayerFactory ReplaceSocketLayerFactory(SocketLayerFactory factory) {
    SocketLayerFactory previous = std::move(CurrentFactory());
    CurrentFactory() = std::move(factory);
    return previous;
}
