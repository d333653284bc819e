// A small blocking HTTP/1.1 client: one request per client, plain http:// only, the answer's
// body handed over block by block. It serves the install service calls and the package
// download. Portable (Windows Sockets and POSIX sockets).
//
// It writes the requests the service's peers have always seen: the headers sorted by name,
// "Accept: */*", the Host, the caller's User-Agent, and for a POST its Content-Type and
// Content-Length. Keep-alive is on (no "Connection: close"), redirects are never followed and
// coded answers (any Content-Encoding but "identity", any Transfer-Encoding but "chunked") are
// refused, as no decoder is built in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace http {

// Why a request got no (complete) answer; `Success` when it got one.
enum class Error {
    Success,
    Connection,         // no connection: the name did not resolve or every address refused
    ConnectionTimeout,  // no address answered within the connect time-out
    Read,               // the answer broke off, stalled past the read time-out or was malformed
    Write,              // the request could not be sent within the write time-out
    Canceled,           // a callback of the request answered false
};

// The error's name as support logs print it ("Connection", "Read", ...).
const char* errorName(Error error);

// True when `a` and `b` differ at most in the case of ASCII letters (header names, "chunked").
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Header fields in the order they were added. Names compare without regard to case; of several
// fields with one name, the first counts.
class Headers {
public:
    void add(std::string name, std::string value);
    bool has(std::string_view name) const;
    // The first value under `name`; empty when there is none.
    const std::string& value(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>>& fields() const { return fields_; }

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

// An answer's status line and headers, as the head callback sees them.
struct ResponseHead {
    int status = 0;
    Headers headers;
};

struct Request {
    std::string method = "GET";
    // "/..." as given; spaces, controls and bytes above 0x7F are %-escaped. An empty path is not
    // sent: the request ends with Error::Connection.
    std::string path;
    Headers headers;   // sent besides the client's own (a field given here wins)
    std::string body;  // sent with Content-Length for POST and PUT (with "0" when empty)

    // Each is optional and answering false ends the request with Error::Canceled.
    // Called once the head of the final answer arrived, before its body (not for a 204).
    std::function<bool(const ResponseHead& head)> onHead;
    // Called with each block of the body as it arrives; without it the body is dropped.
    std::function<bool(const char* data, std::size_t size)> onBody;
    // Called after each block of a body of announced length: bytes so far, bytes announced.
    std::function<bool(std::uint64_t received, std::uint64_t total)> onProgress;
};

// How a request ended: an answer (its status) or the error that stopped it.
struct Result {
    Error error = Error::Success;
    int status = 0;  // the answer's status; 0 unless error is Success

    explicit operator bool() const { return error == Error::Success; }
};

// Where a client connects: the host (a name, an IPv4 address, or an IPv6 address without its
// brackets) and the port.
struct Origin {
    std::string host;
    std::uint16_t port = 80;
};

// Reads "[http://]host[:port]" (an IPv6 host in brackets), nothing before or after. Nothing for
// another scheme, an empty host, a path or query, or a port outside 1 to 65535.
std::optional<Origin> parseOrigin(std::string_view text);

struct ClientSettings {
    std::string userAgent;     // the User-Agent of every request; none when empty
    int connectSeconds = 300;  // per address the host resolves to
    int readSeconds = 5;       // the longest wait for any byte of the answer
    int writeSeconds = 5;      // the longest wait to send any byte of the request
};

class Client {
public:
    Client(Origin origin, ClientSettings settings);

    // Connects, sends `request` and reads the whole answer through its callbacks. Blocks for
    // all of it; the connection is closed before it returns. Never throws except for a
    // failed allocation or an exception thrown by a callback.
    Result send(const Request& request) const;

private:
    Origin origin_;
    ClientSettings settings_;
};

}  // namespace http
