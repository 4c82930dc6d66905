// The client's view of TCP: resolving a name to its first IPv4 address, a blocking connect, and
// a connected stream that sends, receives against a deadline and can be polled while idle.
// PosixSocketLayer.cpp and WinsockSocketLayer.cpp implement it; tests may bring their own.
// Every failure is an EIdSocketError in Winsock's numbering.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace http {

using Clock = std::chrono::steady_clock;

struct Ipv4Address {
    std::array<unsigned char, 4> octets{};
};

struct ReceiveResult {
    enum class Kind { Data, Closed, TimedOut };
    Kind kind = Kind::Closed;
    std::size_t size = 0; // bytes received, for Data
};

// What a short poll of an idle connection saw.
enum class PeerState {
    Quiet,    // nothing arrived
    Readable, // bytes are waiting to be read
    Closed,   // the peer closed its side
    Reset,    // the peer reset the connection
};

class StreamSocket {
public:
    virtual ~StreamSocket() = default;
    // Sends every byte, blocking as long as it takes.
    virtual void Send(std::string_view bytes) = 0;
    // Waits until bytes arrive, the peer closes, or the deadline passes.
    virtual ReceiveResult Receive(char* buffer, std::size_t capacity,
                                  Clock::time_point deadline) = 0;
    // Looks at the connection for at most `wait` without taking anything out of it.
    virtual PeerState Poll(std::chrono::milliseconds wait) = 0;
};

class SocketLayer {
public:
    virtual ~SocketLayer() = default;
    // The first IPv4 address of the name (a dotted address stands for itself). Fails with 11001.
    virtual Ipv4Address Resolve(const std::string& host) = 0;
    // A plain blocking connect, bounded only by the system's own connect time-out.
    virtual std::unique_ptr<StreamSocket> Connect(const Ipv4Address& address,
                                                  std::uint16_t port) = 0;
};

// The platform's sockets. On Windows this starts Winsock and keeps it started while the layer
// lives; a failure there throws rtl::Exception with the start-up messages of SocketError.h.
std::shared_ptr<SocketLayer> MakeSystemSocketLayer();

} // namespace http
