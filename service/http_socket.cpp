// The HTTP client's socket: connect with a time-out, then non-blocking sends and receives that
// wait for readiness at most the given seconds each time.
#include "service/http_socket.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <memory>
#include <utility>

namespace http {
namespace {

#ifdef _WIN32
using Native = SOCKET;
using Length = int;
constexpr int kSendFlags = 0;

// Windows Sockets stay started for the rest of the process: any thread may open a socket, and
// the installer ends without tidying up.
bool startNetwork()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

bool wouldBlock()
{
    return WSAGetLastError() == WSAEWOULDBLOCK;
}

bool setNonBlocking(Native socket)
{
    u_long on = 1;
    return ioctlsocket(socket, FIONBIO, &on) == 0;
}

// select's count: above 0 when ready, 0 after `seconds`, below 0 on failure. A connect that
// failed is reported among the exceptions, not as writable.
int waitUntilReady(Native socket, bool forWriting, int seconds)
{
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(socket, &ready);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(socket, &failed);
    timeval limit{seconds, 0};
    return select(0, forWriting ? nullptr : &ready, forWriting ? &ready : nullptr, &failed, &limit);
}
#else
using Native = int;
using Length = std::size_t;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a peer that hung up is a failed send, not SIGPIPE

bool startNetwork()
{
    return true;
}

bool wouldBlock()
{
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

bool setNonBlocking(Native socket)
{
    const int flags = fcntl(socket, F_GETFL, 0);
    return flags >= 0 && fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
}

// poll's count: above 0 when ready (or failed: the send or receive then says so), 0 after
// `seconds`, below 0 on failure.
int waitUntilReady(Native socket, bool forWriting, int seconds)
{
    pollfd entry{socket, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    int count;
    while ((count = poll(&entry, 1, seconds * 1000)) < 0 && errno == EINTR) {}
    return count;
}
#endif

Native native(std::uintptr_t handle)
{
    return static_cast<Native>(handle);
}

bool connectInProgress()
{
#ifdef _WIN32
    return WSAGetLastError() == WSAEWOULDBLOCK;
#else
    return errno == EINPROGRESS;
#endif
}

bool connectSucceeded(Native socket)
{
    int error = 0;
    socklen_t size = sizeof error;
    return getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 &&
           error == 0;
}

// One send or receive moves at most this much, so its length fits the platform's type.
Length chunkOf(std::size_t size)
{
    return static_cast<Length>(std::min<std::size_t>(size, 1u << 30));
}

using AddressList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

AddressList resolve(const std::string& host, std::uint16_t port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        found = nullptr;
    return AddressList(found, freeaddrinfo);
}

}  // namespace

Socket::~Socket()
{
    close();
}

Socket::Socket(Socket&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

Socket& Socket::operator=(Socket&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

void Socket::close() noexcept
{
    if (handle_ == kNone) return;
#ifdef _WIN32
    closesocket(native(handle_));
#else
    ::close(native(handle_));
#endif
    handle_ = kNone;
}

bool Socket::open(int family, int type, int protocol)
{
    close();
#ifdef _WIN32
    const SOCKET socket = ::socket(family, type, protocol);
    if (socket == INVALID_SOCKET) return false;
    handle_ = static_cast<std::uintptr_t>(socket);
    // The installer starts other programs; they must not hold the connection open.
    SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
#else
    const int socket = ::socket(family, type | SOCK_CLOEXEC, protocol);
    if (socket < 0) return false;
    handle_ = static_cast<std::uintptr_t>(socket);
#endif
    return setNonBlocking(native(handle_));
}

ConnectOutcome Socket::connect(const std::string& host, std::uint16_t port, int seconds)
{
    if (!startNetwork()) return ConnectOutcome::Failed;
    const AddressList addresses = resolve(host, port);
    ConnectOutcome outcome = ConnectOutcome::Failed;
    for (const addrinfo* address = addresses.get(); address; address = address->ai_next) {
        if (!open(address->ai_family, address->ai_socktype, address->ai_protocol)) continue;
        const Native socket = native(handle_);
        if (::connect(socket, address->ai_addr, static_cast<socklen_t>(address->ai_addrlen)) == 0)
            return ConnectOutcome::Connected;
        if (connectInProgress()) {
            const int ready = waitUntilReady(socket, true, seconds);
            if (ready > 0 && connectSucceeded(socket)) return ConnectOutcome::Connected;
            outcome = ready == 0 ? ConnectOutcome::TimedOut : ConnectOutcome::Failed;
        }
        close();
    }
    return outcome;
}

bool Socket::sendAll(const char* data, std::size_t size, int seconds)
{
    const Native socket = native(handle_);
    while (size > 0) {
        if (waitUntilReady(socket, true, seconds) <= 0) return false;
        const auto sent = ::send(socket, data, chunkOf(size), kSendFlags);
        if (sent < 0 && wouldBlock()) continue;
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

long Socket::receive(char* buffer, std::size_t capacity, int seconds)
{
    const Native socket = native(handle_);
    for (;;) {
        if (waitUntilReady(socket, false, seconds) <= 0) return -1;
        const auto received = ::recv(socket, buffer, chunkOf(capacity), 0);
        if (received >= 0) return static_cast<long>(received);
        if (!wouldBlock()) return -1;
    }
}

}  // namespace http
