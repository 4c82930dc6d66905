// A scripted HTTP server on 127.0.0.1 for the window's tests, run on a thread of its own with
// Winsock in the test process. Every connection is taken, its one request read up to the empty
// line and recorded, and answered with the next scripted answer (the last one repeats); then the
// connection is closed. The server stops when destroyed, and by itself after a bounded lifetime,
// so that a failed test cannot leave it running.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
public:
    explicit LoopbackHttpServer(std::vector<std::string> answers,
                                std::chrono::seconds lifetime = std::chrono::seconds(20));
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // The requests received so far, byte for byte, one per connection.
    std::vector<std::string> Requests() const;

    // A port on 127.0.0.1 where nothing listens (it was bound a moment ago and let go).
    static std::uint16_t UnusedPort();

private:
    void Serve(std::chrono::steady_clock::time_point end);
    void AnswerOne(SOCKET connection, std::chrono::steady_clock::time_point end);

    WSADATA winsock_{};
    SOCKET listener_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    std::vector<std::string> answers_;
    std::size_t nextAnswer_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A complete answer: the status line, the headers given (each "Name: value"), a Content-Length
// for the body unless `withLength` is false, and the body.
std::string HttpAnswer(const std::string& statusLine, const std::vector<std::string>& headers,
                       const std::string& body, bool withLength = true);
