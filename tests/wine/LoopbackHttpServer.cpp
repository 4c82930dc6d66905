#include "LoopbackHttpServer.h"

#include <ws2tcpip.h>

#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollStep = std::chrono::milliseconds(20);

sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Waits up to `wait` for the socket to become readable.
bool Readable(SOCKET socket, std::chrono::milliseconds wait) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{};
    timeout.tv_sec = static_cast<long>(wait.count() / 1000);
    timeout.tv_usec = static_cast<long>((wait.count() % 1000) * 1000);
    return select(0, &set, nullptr, nullptr, &timeout) == 1;
}

void SendAll(SOCKET socket, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer(std::vector<std::string> answers,
                                       std::chrono::seconds lifetime)
    : answers_(std::move(answers)) {
    if (WSAStartup(MAKEWORD(2, 2), &winsock_) != 0) {
        throw std::runtime_error("WSAStartup failed");
    }
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
        }
        WSACleanup();
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&LoopbackHttpServer::Serve, this, Clock::now() + lifetime);
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop_ = true;
    thread_.join();
    closesocket(listener_);
    WSACleanup();
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::uint16_t LoopbackHttpServer::UnusedPort() {
    WSADATA winsock{};
    WSAStartup(MAKEWORD(2, 2), &winsock);
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress(0);
    int length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    WSACleanup();
    return ntohs(address.sin_port);
}

void LoopbackHttpServer::Serve(Clock::time_point end) {
    while (!stop_ && Clock::now() < end) {
        if (!Readable(listener_, kPollStep)) {
            continue;
        }
        const SOCKET connection = accept(listener_, nullptr, nullptr);
        if (connection == INVALID_SOCKET) {
            continue;
        }
        AnswerOne(connection, end);
        shutdown(connection, SD_SEND);
        closesocket(connection);
    }
}

void LoopbackHttpServer::AnswerOne(SOCKET connection, Clock::time_point end) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        if (stop_ || Clock::now() >= end) {
            return;
        }
        if (!Readable(connection, kPollStep)) {
            continue;
        }
        const int n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    if (!answers_.empty()) {
        SendAll(connection, answers_[nextAnswer_]);
        if (nextAnswer_ + 1 < answers_.size()) {
            ++nextAnswer_;
        }
    }
}

std::string HttpAnswer(const std::string& statusLine, const std::vector<std::string>& headers,
                       const std::string& body, bool withLength) {
    std::string answer = statusLine + "\r\n";
    for (const std::string& header : headers) {
        answer += header + "\r\n";
    }
    if (withLength) {
        answer += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    return answer + "\r\n" + body;
}
