// The scripted loopback peer: Windows Sockets and POSIX sockets behind one small surface.
#include "tests/service/loopback_peer.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace loopback {
namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr int kSendFlags = 0;
void closeSocket(Socket socket)
{
    closesocket(socket);
}
#else
using Socket = int;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that hung up is a send error, not SIGPIPE
void closeSocket(Socket socket)
{
    close(socket);
}
#endif

constexpr std::uintptr_t kNoSocket = ~std::uintptr_t{0};
constexpr int kConnectionSeconds = 30;

Socket native(std::uintptr_t handle)
{
    return static_cast<Socket>(handle);
}

std::uintptr_t handleOf(Socket socket)
{
    return static_cast<std::uintptr_t>(socket);
}

void setOption(std::uintptr_t handle, int level, int name, const void* value, int size)
{
    setsockopt(native(handle), level, name, static_cast<const char*>(value),
               static_cast<socklen_t>(size));
}

void setTimeouts(std::uintptr_t handle, int seconds)
{
#ifdef _WIN32
    const DWORD value = static_cast<DWORD>(seconds) * 1000;
#else
    const timeval value{seconds, 0};
#endif
    setOption(handle, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value);
    setOption(handle, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value);
}

// True when `handle` has something to read (or a connection to accept) within `milliseconds`.
bool waitReadable(std::uintptr_t handle, int milliseconds)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(native(handle), &set);
    timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(static_cast<int>(native(handle) + 1), &set, nullptr, nullptr, &wait) == 1;
}

std::size_t contentLength(std::string head)
{
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t at = head.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

// A listening socket on 127.0.0.1:`port` with room for `backlog` connections not yet accepted,
// and the port it got; kNoSocket when that failed.
std::uintptr_t listenOnLoopback(std::uint16_t& port, int backlog)
{
    const std::uintptr_t handle = handleOf(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (handle == kNoSocket) return kNoSocket;
#ifndef _WIN32
    // A fixed port stays free to take while connections of an earlier run linger in TIME_WAIT
    // (Windows allows that anyway, and there the option would let two listeners share a port).
    const int on = 1;
    setOption(handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    auto* generic = reinterpret_cast<sockaddr*>(&address);
    if (bind(native(handle), generic, sizeof address) != 0 ||
        listen(native(handle), backlog) != 0 ||
        getsockname(native(handle), generic, &length) != 0) {
        closeSocket(native(handle));
        return kNoSocket;
    }
    port = ntohs(address.sin_port);
    return handle;
}

// Starts connecting a non-blocking socket to 127.0.0.1:`port`; kNoSocket when that failed.
std::uintptr_t startConnecting(std::uint16_t port)
{
    const std::uintptr_t handle = handleOf(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (handle == kNoSocket) return kNoSocket;
#ifdef _WIN32
    u_long on = 1;
    ioctlsocket(native(handle), FIONBIO, &on);
#else
    fcntl(native(handle), F_SETFL, fcntl(native(handle), F_GETFL, 0) | O_NONBLOCK);
#endif
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    connect(native(handle), reinterpret_cast<sockaddr*>(&address), sizeof address);
    return handle;
}

}  // namespace

Connection::Connection(std::uintptr_t handle) : handle_(handle)
{
    setTimeouts(handle_, kConnectionSeconds);
    const int on = 1;  // each piece of a script goes out at once, not held back for the next
    setOption(handle_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

Connection::~Connection()
{
    closeSocket(native(handle_));
}

std::optional<std::string> Connection::readRequest()
{
    std::string request;
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    char buffer[4096];
    while (headEnd == std::string::npos || request.size() < headEnd + 4 + wanted) {
        const int n = recv(native(handle_), buffer, sizeof buffer, 0);
        if (n <= 0) return std::nullopt;
        request.append(buffer, static_cast<std::size_t>(n));
        if (headEnd == std::string::npos && (headEnd = request.find("\r\n\r\n")) != request.npos)
            wanted = contentLength(request.substr(0, headEnd));
    }
    return request;
}

bool Connection::send(std::string_view bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const int n = ::send(native(handle_), bytes.data() + done,
                             static_cast<int>(bytes.size() - done), kSendFlags);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
        bytesSent_ += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool Connection::waitForClose(int seconds)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    char buffer[4096];
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        if (!readable(static_cast<int>(left.count()) + 1)) continue;
        // A reset (a client that closed with bytes unread) counts as closing too.
        if (recv(native(handle_), buffer, sizeof buffer, 0) <= 0) return true;
    }
    return false;
}

void Connection::limitSendBuffer(int bytes)
{
    setOption(handle_, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
}

bool Connection::readable(int milliseconds) const
{
    return waitReadable(handle_, milliseconds);
}

NetworkSession::NetworkSession()
{
#ifdef _WIN32
    WSADATA data;
    started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
#endif
}

NetworkSession::~NetworkSession()
{
#ifdef _WIN32
    if (started) WSACleanup();
#endif
}

Peer::Peer(Script script, std::uint16_t port) : script_(std::move(script))
{
    listener_ = listenOnLoopback(port, 4);
    if (listener_ == kNoSocket) return;
    port_ = port;
    thread_ = std::thread([this] { serve(); });
}

Peer::~Peer()
{
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != kNoSocket) closeSocket(native(listener_));
}

void Peer::serve()
{
    while (!stopping_) {
        // Waits 50 ms at a time for a connection, so that a stop is seen promptly.
        if (!waitReadable(listener_, 50)) continue;
        const std::uintptr_t accepted = handleOf(accept(native(listener_), nullptr, nullptr));
        if (accepted == kNoSocket) continue;
        ++connections_;
        Connection connection(accepted);
        script_(connection);
    }
}

FullListener::FullListener()
{
    listener_ = listenOnLoopback(port_, 1);
    if (listener_ == kNoSocket) return;
    // More than the smallest queue holds: the system completes the first ones on its own.
    for (int i = 0; i < 8; ++i) queued_.push_back(startConnecting(port_));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

FullListener::~FullListener()
{
    for (const std::uintptr_t handle : queued_)
        if (handle != kNoSocket) closeSocket(native(handle));
    if (listener_ != kNoSocket) closeSocket(native(listener_));
}

}  // namespace loopback
