// The install service calls against a hostile server on loopback whose answer bodies are too
// long: announced above the 64 KiB cap or above 4 GiB, or endless (chunked or without a length).
// Each must be a failed call that stops reading at once, so memory stays small, and the end
// report must still exit with 0. Builds natively and for Windows (the shipped 32-bit program).
#include "service/install_service.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

#ifdef _WIN32
using Socket = SOCKET;
const Socket kNoSocket = INVALID_SOCKET;
constexpr int kSendFlags = 0;
void closeSocket(Socket socket)
{
    closesocket(socket);
}
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that hung up is a send error, not SIGPIPE
void closeSocket(Socket socket)
{
    close(socket);
}
#endif

// Windows Sockets held for the server's lifetime (nothing to do elsewhere).
class NetworkSession {
public:
#ifdef _WIN32
    NetworkSession()
    {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~NetworkSession()
    {
        if (started_) WSACleanup();
    }

private:
    bool started_ = false;
#endif
};

// Send and receive time-outs, so a test whose client stalls fails instead of hanging.
void setTimeouts(Socket socket, int seconds)
{
#ifdef _WIN32
    const DWORD value = static_cast<DWORD>(seconds) * 1000;
#else
    const timeval value{seconds, 0};
#endif
    const auto* bytes = reinterpret_cast<const char*>(&value);
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, bytes, sizeof value);
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, bytes, sizeof value);
}

// What the server sends after reading a request: `head` (status line and headers), then `start`,
// then `filler` over and over until the client hangs up or kSendLimit bytes went out. Without
// filler the server sends nothing more and waits for the client to hang up.
struct HostileAnswer {
    const char* name;
    std::string head;
    std::string start;
    std::string filler;
};

// Far more than a client that stops at the cap lets through (its socket buffers included),
// and little enough for a client without a cap to hold in memory, so the tests show the
// difference instead of crashing.
constexpr std::uint64_t kSendLimit = 256u << 20;
constexpr std::uint64_t kFewBytes = 40u << 20;

// A handshake answer whose "data" is {"currVersion":"6.6.6"} encrypted by openssl with the
// service's key.
const std::string kValidAnswer = R"({"data":"ZIlHOjbXoaPu8SA9G3s1iYvxGwTROZKlHpX/ClB9IEA="})";

// The valid answer followed by spaces, `size` bytes in all.
std::string paddedAnswer(std::size_t size)
{
    return kValidAnswer + std::string(size - kValidAnswer.size(), ' ');
}

std::string headWithLength(const std::string& length)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + length +
           "\r\n\r\n";
}

std::string chunk(const std::string& bytes)
{
    std::ostringstream size;
    size << std::hex << bytes.size();
    return size.str() + "\r\n" + bytes + "\r\n";
}

const std::string kFiller(64 * 1024, 'x');

std::vector<HostileAnswer> hostileAnswers()
{
    const std::uint64_t fourGiB = std::uint64_t{1} << 32;
    return {
        {"a complete body one byte above the cap, the connection kept open",
         headWithLength("65537"), paddedAnswer(65537), ""},
        // Cut to 32 bits, this length would be exactly the valid answer that comes first.
        {"a length of 4 GiB plus a valid answer",
         headWithLength(std::to_string(fourGiB + kValidAnswer.size())), kValidAnswer, kFiller},
        {"a length beyond 64 bits", headWithLength("99999999999999999999999"), kValidAnswer,
         kFiller},
        {"an endless body without a length",
         "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\n\r\n", kValidAnswer, kFiller},
        {"endless chunks",
         "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n",
         chunk(kValidAnswer), chunk(kFiller)},
    };
}

// A loopback server that answers every request with one fixed answer, one connection at a time.
class HostileServer {
public:
    explicit HostileServer(HostileAnswer answer) : answer_(std::move(answer))
    {
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        const bool listening =
            listener_ != kNoSocket &&
            bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            listen(listener_, 4) == 0 &&
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        EXPECT_TRUE(listening) << "cannot listen on loopback";
        url_ = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
        thread_ = std::thread([this] { serve(); });
    }
    ~HostileServer()
    {
        stopping_ = true;
        thread_.join();
        if (listener_ != kNoSocket) closeSocket(listener_);
    }

    const std::string& url() const { return url_; }
    int connections() const { return connections_; }
    // The most bytes one connection took before its client hung up (or the limit was reached).
    std::uint64_t mostBytesSent() const { return mostBytesSent_; }

private:
    void serve()
    {
        while (!stopping_) {
            if (!readable(listener_)) continue;
            const Socket connection = accept(listener_, nullptr, nullptr);
            if (connection == kNoSocket) continue;
            ++connections_;
            setTimeouts(connection, 30);
            // A small send buffer keeps what the client never reads out of the count.
            const int sendBuffer = 64 * 1024;
            setsockopt(connection, SOL_SOCKET, SO_SNDBUF,
                       reinterpret_cast<const char*>(&sendBuffer), sizeof sendBuffer);
            if (readRequest(connection)) answer(connection);
            closeSocket(connection);
        }
    }

    // Waits up to 50 ms for a connection, so a stop request is seen promptly.
    bool readable(Socket socket) const
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval wait{0, 50 * 1000};
        return select(static_cast<int>(socket + 1), &set, nullptr, nullptr, &wait) == 1;
    }

    // Reads the request's head and its Content-Length bytes of body.
    static bool readRequest(Socket connection)
    {
        std::string request;
        std::size_t headEnd = std::string::npos;
        std::size_t wanted = 0;
        char buffer[4096];
        while (headEnd == std::string::npos || request.size() < headEnd + 4 + wanted) {
            const int n = recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0) return false;
            request.append(buffer, static_cast<std::size_t>(n));
            if (headEnd == std::string::npos &&
                (headEnd = request.find("\r\n\r\n")) != request.npos)
                wanted = contentLength(request.substr(0, headEnd));
        }
        return true;
    }

    static std::size_t contentLength(std::string head)
    {
        std::transform(head.begin(), head.end(), head.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const std::size_t at = head.find("\r\ncontent-length:");
        return at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 17, nullptr, 10);
    }

    void answer(Socket connection)
    {
        std::uint64_t sent = 0;
        bool open =
            sendAll(connection, answer_.head, sent) && sendAll(connection, answer_.start, sent);
        if (answer_.filler.empty()) {
            char byte;
            while (open && recv(connection, &byte, 1, 0) > 0) {}
        }
        while (open && !answer_.filler.empty() && sent < kSendLimit)
            open = sendAll(connection, answer_.filler, sent);
        mostBytesSent_ = std::max<std::uint64_t>(mostBytesSent_, sent);
    }

    static bool sendAll(Socket connection, const std::string& bytes, std::uint64_t& sent)
    {
        for (std::size_t done = 0; done < bytes.size();) {
            const int n = send(connection, bytes.data() + done,
                               static_cast<int>(bytes.size() - done), kSendFlags);
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
            sent += static_cast<std::uint64_t>(n);
        }
        return true;
    }

    [[maybe_unused]] NetworkSession network_;  // empty except on Windows
    HostileAnswer answer_;
    Socket listener_ = kNoSocket;
    std::string url_;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::atomic<std::uint64_t> mostBytesSent_{0};
    std::thread thread_;
};

class HostileAnswerTest : public testing::Test {
protected:
    // A death test's child runs the test again in a new process, with a server of its own: a
    // forked child would have no server thread and leave the parent's sockets shared.
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(HostileAnswerTest, HandshakeReadsAnAnswerOfExactlyTheCap)
{
    HostileServer server({"64 KiB", headWithLength("65536"), paddedAnswer(65536), ""});
    const auto info = attemptHandshake(server.url());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->currVersion, "6.6.6");
}

TEST_F(HostileAnswerTest, HandshakeFailsAtOnceOnAnAnswerLongerThanTheCap)
{
    for (const HostileAnswer& answer : hostileAnswers()) {
        SCOPED_TRACE(answer.name);
        HostileServer server(answer);
        EXPECT_FALSE(attemptHandshake(server.url()).has_value());
        EXPECT_EQ(server.connections(), 1);
        EXPECT_LT(server.mostBytesSent(), kFewBytes) << "the client read on past the cap";
    }
}

TEST_F(HostileAnswerTest, StartReportStopsReadingAnAnswerLongerThanTheCap)
{
    for (const HostileAnswer& answer : hostileAnswers()) {
        SCOPED_TRACE(answer.name);
        HostileServer server(answer);
        reportInstallStart("1.0", server.url());
        EXPECT_EQ(server.connections(), 1);
        EXPECT_LT(server.mostBytesSent(), kFewBytes) << "the client read on past the cap";
    }
}

TEST_F(HostileAnswerTest, EndReportExitsWithZeroAfterAnAnswerLongerThanTheCap)
{
    for (const HostileAnswer& answer : hostileAnswers()) {
        SCOPED_TRACE(answer.name);
        HostileServer server(answer);
        EXPECT_EXIT(reportInstallEnd("1.0", 20, 10, server.url()), testing::ExitedWithCode(0), "");
    }
}

}  // namespace
