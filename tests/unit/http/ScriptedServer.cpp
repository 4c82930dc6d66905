#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace http_test {

namespace {

constexpr auto kAcceptWait = std::chrono::seconds(5);
constexpr auto kReadWait = std::chrono::seconds(5);
constexpr auto kSlice = std::chrono::milliseconds(20);

bool SendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// Waits for the duration (or until the server stops); false when the client closed or reset the
// connection meanwhile.
bool PauseUnlessClientLeaves(int fd, std::chrono::milliseconds duration,
                             const std::atomic<bool>& stop) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (!stop && std::chrono::steady_clock::now() < end) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(kSlice.count())) > 0) {
            char probe;
            if (::recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT) <= 0) {
                return false;
            }
            std::this_thread::sleep_for(kSlice);
        }
    }
    return true;
}

} // namespace

std::uint16_t UnusedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

Step ReadRequest() {
    return {Step::Kind::ReadRequest, {}, {}};
}
Step Send(std::string bytes) {
    return {Step::Kind::Send, std::move(bytes), {}};
}
Step Drip(std::string bytes, std::chrono::milliseconds interval) {
    return {Step::Kind::Drip, std::move(bytes), interval};
}
Step Pause(std::chrono::milliseconds duration) {
    return {Step::Kind::Pause, {}, duration};
}
Step Close() {
    return {Step::Kind::Close, {}, {}};
}
Step Reset() {
    return {Step::Kind::Reset, {}, {}};
}

ScriptedServer::ScriptedServer(std::vector<ConnectionScript> connections)
    : scripts_(std::move(connections)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0) {
        throw std::runtime_error("socket() failed");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

ScriptedServer::~ScriptedServer() {
    StopAndCountUnexpected();
}

std::string ScriptedServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

bool ScriptedServer::WaitReadable(int fd, std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!stop_ && std::chrono::steady_clock::now() < end) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, static_cast<int>(kSlice.count())) > 0) {
            return true;
        }
    }
    return false;
}

void ScriptedServer::Run() {
    for (const ConnectionScript& script : scripts_) {
        if (!WaitReadable(listener_, kAcceptWait)) {
            break;
        }
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) {
            break;
        }
        {
            std::lock_guard lock(mutex_);
            ++accepted_;
            openConnections_.push_back(fd);
        }
        Play(fd, script);
        {
            std::lock_guard lock(mutex_);
            ++scriptsDone_;
        }
        progress_.notify_all();
    }
    while (!stop_) {
        std::this_thread::sleep_for(kSlice);
    }
}

void ScriptedServer::Play(int fd, const ConnectionScript& script) {
    std::string pending; // bytes read beyond the last request
    for (const Step& step : script) {
        if (stop_) {
            return;
        }
        switch (step.kind) {
        case Step::Kind::ReadRequest: {
            std::string request = std::move(pending);
            pending.clear();
            std::size_t end;
            while ((end = request.find("\r\n\r\n")) == std::string::npos &&
                   WaitReadable(fd, kReadWait)) {
                char buffer[4096];
                const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
                if (got <= 0) {
                    break;
                }
                request.append(buffer, static_cast<std::size_t>(got));
            }
            if (end != std::string::npos) {
                pending = request.substr(end + 4);
                request.resize(end + 4);
            }
            std::lock_guard lock(mutex_);
            requests_.push_back(std::move(request));
            break;
        }
        case Step::Kind::Send:
            SendAll(fd, step.bytes.data(), step.bytes.size());
            break;
        case Step::Kind::Drip:
            for (char byte : step.bytes) {
                std::this_thread::sleep_for(step.interval);
                if (stop_ || !SendAll(fd, &byte, 1)) {
                    break;
                }
            }
            break;
        case Step::Kind::Pause:
            if (!PauseUnlessClientLeaves(fd, step.interval, stop_)) {
                return;
            }
            break;
        case Step::Kind::Close:
        case Step::Kind::Reset: {
            if (step.kind == Step::Kind::Reset) {
                linger hard{1, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
            }
            std::lock_guard lock(mutex_);
            std::erase(openConnections_, fd);
            ::close(fd);
            return;
        }
        }
    }
}

bool ScriptedServer::WaitScriptsDone(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return progress_.wait_for(lock, timeout, [&] { return scriptsDone_ >= count; });
}

std::vector<std::string> ScriptedServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t ScriptedServer::AcceptedConnections() const {
    std::lock_guard lock(mutex_);
    return accepted_;
}

std::size_t ScriptedServer::StopAndCountUnexpected() {
    if (stopped_) {
        return unexpected_;
    }
    stopped_ = true;
    stop_ = true;
    thread_.join();
    for (;;) {
        pollfd entry{listener_, POLLIN, 0};
        if (::poll(&entry, 1, 0) <= 0) {
            break;
        }
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) {
            break;
        }
        ++unexpected_;
        ::close(fd);
    }
    for (int fd : openConnections_) {
        ::close(fd);
    }
    openConnections_.clear();
    ::close(listener_);
    return unexpected_;
}

} // namespace http_test
