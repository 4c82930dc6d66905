// The socket layer on POSIX systems (BSD sockets). Errors are reported in Winsock's numbering.
#ifndef _WIN32

#include "SocketError.h"
#include "SocketLayer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace http {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif

[[noreturn]] void ThrowErrno(int errnoValue) {
    const int code = WsaCodeFromErrno(errnoValue);
    if (code != 0) {
        ThrowSocketError(code);
    }
    ThrowSocketError(errnoValue, std::strerror(errnoValue));
}

// Milliseconds to the deadline for poll(), rounded up so that a wait never ends early.
int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(ms);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

class PosixStreamSocket : public StreamSocket {
public:
    explicit PosixStreamSocket(int fd) : fd_(fd) {}

    void Send(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t sent = ::send(fd_.get(), bytes.data(), bytes.size(), kSendFlags);
            if (sent < 0) {
                if (errno == EINTR) {
                    continue;
                }
                ThrowErrno(errno);
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
    }

    ReceiveResult Receive(char* buffer, std::size_t capacity, Clock::time_point deadline) override {
        for (;;) {
            pollfd entry{fd_.get(), POLLIN, 0};
            const int ready = ::poll(&entry, 1, MillisecondsUntil(deadline));
            if (ready < 0) {
                if (errno == EINTR) {
                    continue;
                }
                ThrowErrno(errno);
            }
            if (ready == 0) {
                if (Clock::now() < deadline) {
                    continue;
                }
                return {ReceiveResult::Kind::TimedOut, 0};
            }
            const ssize_t got = ::recv(fd_.get(), buffer, capacity, 0);
            if (got < 0) {
                if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
                    continue;
                }
                ThrowErrno(errno);
            }
            if (got == 0) {
                return {ReceiveResult::Kind::Closed, 0};
            }
            return {ReceiveResult::Kind::Data, static_cast<std::size_t>(got)};
        }
    }

    PeerState Poll(std::chrono::milliseconds wait) override {
        pollfd entry{fd_.get(), POLLIN, 0};
        int ready;
        do {
            ready = ::poll(&entry, 1, static_cast<int>(wait.count()));
        } while (ready < 0 && errno == EINTR);
        if (ready < 0) {
            ThrowErrno(errno);
        }
        if (ready == 0) {
            return PeerState::Quiet;
        }
        char probe;
        ssize_t got;
        do {
            got = ::recv(fd_.get(), &probe, 1, MSG_PEEK);
        } while (got < 0 && errno == EINTR);
        if (got > 0) {
            return PeerState::Readable;
        }
        if (got == 0) {
            return PeerState::Closed;
        }
        if (errno == ECONNRESET) {
            return PeerState::Reset;
        }
        ThrowErrno(errno);
    }

private:
    FileDescriptor fd_;
};

class PosixSocketLayer : public SocketLayer {
public:
    Ipv4Address Resolve(const std::string& host) override {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        // Every way of not finding the name (unknown, no IPv4 address, resolver down) is
        // "Host not found."
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
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (fd < 0) {
            ThrowErrno(errno);
        }
        auto socket = std::make_unique<PosixStreamSocket>(fd);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(port);
        std::memcpy(&target.sin_addr.s_addr, address.octets.data(), 4);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
            if (errno != EINTR) {
                ThrowErrno(errno);
            }
            // An interrupted connect goes on in the background: wait for its outcome.
            WaitForConnect(fd);
        }
        return socket;
    }

private:
    static void WaitForConnect(int fd) {
        pollfd entry{fd, POLLOUT, 0};
        while (::poll(&entry, 1, -1) < 0) {
            if (errno != EINTR) {
                ThrowErrno(errno);
            }
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            ThrowErrno(errno);
        }
        if (error != 0) {
            ThrowErrno(error);
        }
    }
};

} // namespace

std::shared_ptr<SocketLayer> MakeSystemSocketLayer() {
    return std::make_shared<PosixSocketLayer>();
}

} // namespace http

#endif // _WIN32
