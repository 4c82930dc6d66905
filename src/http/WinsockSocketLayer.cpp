// The socket layer on Windows (Winsock 2). Winsock is started when the layer is made and
// cleaned up when the last user of it is gone.
#ifdef _WIN32

#include "SocketError.h"
#include "SocketLayer.h"

// winsock2.h must come before windows.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include "rtl/Exceptions.h"

#include <cstring>
#include <utility>

namespace http {

namespace {

// The system's text for an error number, as UTF-8 without the trailing line break; empty when
// the system has none.
std::string SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) {
        return {};
    }
    std::wstring wide(text, length);
    ::LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ')) {
        wide.pop_back();
    }
    if (wide.empty()) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                          nullptr, nullptr);
    return utf8;
}

[[noreturn]] void ThrowWsaError(int code) {
    ThrowSocketError(code, SystemErrorText(static_cast<DWORD>(code)));
}

[[noreturn]] void ThrowLastWsaError() {
    ThrowWsaError(::WSAGetLastError());
}

// WSAStartup for version 2.2 and its WSACleanup.
class WinsockSession {
public:
    WinsockSession() {
        WSADATA data{};
        const int result = ::WSAStartup(MAKEWORD(2, 2), &data);
        if (result != 0) {
            throw rtl::Exception(WinsockLoadFailureMessage(SystemErrorText(result)));
        }
        if (data.wVersion != MAKEWORD(2, 2)) {
            ::WSACleanup();
            throw rtl::Exception(kWinsockInitializationError);
        }
    }
    ~WinsockSession() { ::WSACleanup(); }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

class SocketHandle {
public:
    explicit SocketHandle(SOCKET socket) : socket_(socket) {}
    ~SocketHandle() {
        if (socket_ != INVALID_SOCKET) {
            ::closesocket(socket_);
        }
    }
    SocketHandle(const SocketHandle&) = delete;
    SocketHandle& operator=(const SocketHandle&) = delete;
    SOCKET get() const { return socket_; }

private:
    SOCKET socket_;
};

timeval TimevalUntil(Clock::time_point deadline) {
    auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left < 0) {
        left = 0;
    }
    if (left > 1'000'000'000'000LL) {
        left = 1'000'000'000'000LL;
    }
    timeval value{};
    value.tv_sec = static_cast<long>(left / 1'000'000);
    value.tv_usec = static_cast<long>(left % 1'000'000);
    return value;
}

// select() for reading; true when the socket is readable (data, close or reset).
bool WaitReadable(SOCKET socket, timeval timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
    if (ready == SOCKET_ERROR) {
        ThrowLastWsaError();
    }
    return ready > 0;
}

class WinsockStreamSocket : public StreamSocket {
public:
    // Holds the session so that Winsock stays started while a socket lives.
    WinsockStreamSocket(SOCKET socket, std::shared_ptr<WinsockSession> session)
        : socket_(socket), session_(std::move(session)) {}

    void Send(std::string_view bytes) override {
        while (!bytes.empty()) {
            const int chunk = bytes.size() > 1 << 20 ? 1 << 20 : static_cast<int>(bytes.size());
            const int sent = ::send(socket_.get(), bytes.data(), chunk, 0);
            if (sent == SOCKET_ERROR) {
                ThrowLastWsaError();
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
    }

    ReceiveResult Receive(char* buffer, std::size_t capacity, Clock::time_point deadline) override {
        for (;;) {
            if (!WaitReadable(socket_.get(), TimevalUntil(deadline))) {
                if (Clock::now() < deadline) {
                    continue;
                }
                return {ReceiveResult::Kind::TimedOut, 0};
            }
            const int want = capacity > 1 << 20 ? 1 << 20 : static_cast<int>(capacity);
            const int got = ::recv(socket_.get(), buffer, want, 0);
            if (got == SOCKET_ERROR) {
                const int error = ::WSAGetLastError();
                if (error == WSAEWOULDBLOCK || error == WSAEINTR) {
                    continue;
                }
                ThrowWsaError(error);
            }
            if (got == 0) {
                return {ReceiveResult::Kind::Closed, 0};
            }
            return {ReceiveResult::Kind::Data, static_cast<std::size_t>(got)};
        }
    }

    PeerState Poll(std::chrono::milliseconds wait) override {
        timeval timeout{};
        timeout.tv_sec = static_cast<long>(wait.count() / 1000);
        timeout.tv_usec = static_cast<long>(wait.count() % 1000 * 1000);
        if (!WaitReadable(socket_.get(), timeout)) {
            return PeerState::Quiet;
        }
        char probe;
        const int got = ::recv(socket_.get(), &probe, 1, MSG_PEEK);
        if (got > 0) {
            return PeerState::Readable;
        }
        if (got == 0) {
            return PeerState::Closed;
        }
        const int error = ::WSAGetLastError();
        if (error == WSAECONNRESET || error == WSAECONNABORTED) {
            return PeerState::Reset;
        }
        ThrowWsaError(error);
    }

private:
    SocketHandle socket_;
    std::shared_ptr<WinsockSession> session_;
};

class WinsockSocketLayer : public SocketLayer {
public:
    WinsockSocketLayer() : session_(std::make_shared<WinsockSession>()) {}

    Ipv4Address Resolve(const std::string& host) override {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        // Every way of not finding the name is "Host not found."
        if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
            ThrowSocketError(kWsaHostNotFound);
        }
        sockaddr_in first{};
        std::memcpy(&first, found->ai_addr, sizeof first);
        ::freeaddrinfo(found);
        Ipv4Address address;
        std::memcpy(address.octets.data(), &first.sin_addr.s_addr, 4);
        return address;
    }

    std::unique_ptr<StreamSocket> Connect(const Ipv4Address& address, std::uint16_t port) override {
        const SOCKET handle = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (handle == INVALID_SOCKET) {
            ThrowLastWsaError();
        }
        auto socket = std::make_unique<WinsockStreamSocket>(handle, session_);
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = ::htons(port);
        std::memcpy(&target.sin_addr.s_addr, address.octets.data(), 4);
        if (::connect(handle, reinterpret_cast<const sockaddr*>(&target), sizeof target) ==
            SOCKET_ERROR) {
            ThrowLastWsaError();
        }
        return socket;
    }

private:
    std::shared_ptr<WinsockSession> session_;
};

} // namespace

std::shared_ptr<SocketLayer> MakeSystemSocketLayer() {
    return std::make_shared<WinsockSocketLayer>();
}

} // namespace http

#endif // _WIN32
