// A connected TCP socket with time-outs, for the HTTP client: the one place where Windows
// Sockets and POSIX sockets differ. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace http {

enum class ConnectOutcome { Connected, Failed, TimedOut };

// Owns one socket and closes it. Move-only. Never throws.
class Socket {
public:
    Socket() = default;
    ~Socket();
    Socket(Socket&& other) noexcept;
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // Connects to `host` (a name or an address) at `port`, trying each address the host resolves
    // to for at most `seconds` each. The socket is not inherited by child processes.
    ConnectOutcome connect(const std::string& host, std::uint16_t port, int seconds);

    // Sends all of `data`, waiting at most `seconds` for room each time; false when the
    // connection failed or stalled.
    bool sendAll(const char* data, std::size_t size, int seconds);

    // Receives at most `capacity` bytes into `buffer`, waiting at most `seconds` for the first.
    // The count received; 0 when the peer closed the connection; -1 on failure or time-out.
    long receive(char* buffer, std::size_t capacity, int seconds);

private:
    bool open(int family, int type, int protocol);
    void close() noexcept;

    // A SOCKET on Windows, a file descriptor elsewhere; kNone when closed.
    static constexpr std::uintptr_t kNone = ~std::uintptr_t{0};
    std::uintptr_t handle_ = kNone;
};

}  // namespace http
