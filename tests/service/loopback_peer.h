// A scripted HTTP peer on loopback for tests of the service's clients: it accepts one connection
// at a time, reads each request whole and hands the connection to the test's script, which
// answers with raw bytes (in pieces, stalling or closing as it likes). The only place of the
// tests where Windows Sockets and POSIX sockets differ.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace loopback {

// Windows Sockets, started for the lifetime of a listener (nothing to do elsewhere).
struct NetworkSession {
    NetworkSession();
    ~NetworkSession();
    bool started = false;
};

// One accepted connection, closed when the script returns. Sends and receives give up after
// 30 seconds, so a test whose client stalls fails instead of hanging.
class Connection {
public:
    explicit Connection(std::uintptr_t handle);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The request's exact bytes: its head and as many bytes of body as its Content-Length
    // says. Nothing when the client closed or stalled first.
    std::optional<std::string> readRequest();

    // Sends all of `bytes`; false once the client hung up.
    bool send(std::string_view bytes);

    // Reads and drops whatever comes until the client closes the connection: true when it did
    // within `seconds`.
    bool waitForClose(int seconds);

    // Caps the socket's send buffer, so that what the client never reads stays out of the count.
    void limitSendBuffer(int bytes);

    // Bytes that went out through send() so far.
    std::uint64_t bytesSent() const { return bytesSent_; }

private:
    bool readable(int milliseconds) const;

    std::uintptr_t handle_;
    std::uint64_t bytesSent_ = 0;
};

// Listens on 127.0.0.1 at `port` (0: one of the system's choosing) until destroyed. Runs
// `script` on its own thread for each connection, one after the other.
class Peer {
public:
    using Script = std::function<void(Connection& connection)>;

    explicit Peer(Script script, std::uint16_t port = 0);
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // False when the port could not be taken (then nothing connects).
    bool listening() const { return port_ != 0; }
    std::uint16_t port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int connections() const { return connections_; }

private:
    void serve();

    NetworkSession network_;
    Script script_;
    std::uintptr_t listener_;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

// A listener on 127.0.0.1 that never accepts, its queue filled by connections of its own: the
// system leaves any further connection attempt unanswered until the client gives up.
class FullListener {
public:
    FullListener();
    ~FullListener();
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;

    // 0 when no listener could be set up.
    std::uint16_t port() const { return port_; }

private:
    NetworkSession network_;
    std::uintptr_t listener_;
    std::vector<std::uintptr_t> queued_;
    std::uint16_t port_ = 0;
};

}  // namespace loopback
