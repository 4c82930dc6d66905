// A small HTTP server for tests: it listens on 127.0.0.1 at a port the system picks, plays one
// script per accepted connection (in order), and records the exact bytes of every request. All
// waits are bounded, and it stops by itself when the test is done with it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace http_test {

struct Step {
    enum class Kind { ReadRequest, Send, Drip, Pause, Close, Reset };
    Kind kind;
    std::string bytes;
    std::chrono::milliseconds interval{0};
};

// Reads one request up to its empty line and records it.
Step ReadRequest();
// Sends bytes at once.
Step Send(std::string bytes);
// Sends bytes one at a time, with a pause before each; stops when the client has gone.
Step Drip(std::string bytes, std::chrono::milliseconds interval);
Step Pause(std::chrono::milliseconds duration);
// Closes the connection in the ordinary way (FIN).
Step Close();
// Resets the connection (RST).
Step Reset();

using ConnectionScript = std::vector<Step>;

// A port on 127.0.0.1 where nothing listens: bound for a moment and given back.
std::uint16_t UnusedLoopbackPort();

class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<ConnectionScript> connections);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path = "/getSysTime.do") const;

    // Waits (at most timeout) until the scripts of the first count connections have run.
    bool WaitScriptsDone(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Every request read so far, in order.
    std::vector<std::string> Requests() const;
    std::size_t AcceptedConnections() const;
    // Stops the server and tells how many connections were still waiting to be accepted after
    // the last script: connections the client opened that no script expected.
    std::size_t StopAndCountUnexpected();

private:
    void Run();
    void Play(int fd, const ConnectionScript& script);
    bool WaitReadable(int fd, std::chrono::milliseconds timeout) const;

    std::vector<ConnectionScript> scripts_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::condition_variable progress_;
    std::vector<std::string> requests_;
    std::vector<int> openConnections_;
    std::size_t accepted_ = 0;
    std::size_t scriptsDone_ = 0;
    std::size_t unexpected_ = 0;
    bool stopped_ = false;
    std::thread thread_;
};

} // namespace http_test
