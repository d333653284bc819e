// The install service calls against a hostile server on loopback whose answer bodies are too
// long: announced above the 64 KiB cap or above 4 GiB, or endless (chunked or without a length).
// Each must be a failed call that stops reading at once, so memory stays small, and the end
// report must still exit with 0. Builds natively and for Windows (the shipped 32-bit program).
#include "service/install_service.h"
#include "tests/service/loopback_peer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

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
    explicit HostileServer(HostileAnswer answer)
        : answer_(std::move(answer)), peer_([this](loopback::Connection& c) { serve(c); })
    {
        EXPECT_TRUE(peer_.listening()) << "cannot listen on loopback";
    }

    std::string url() const { return peer_.url(); }
    int connections() const { return peer_.connections(); }
    // The most bytes one connection took before its client hung up (or the limit was reached).
    std::uint64_t mostBytesSent() const { return mostBytesSent_; }

private:
    void serve(loopback::Connection& connection)
    {
        // A small send buffer keeps what the client never reads out of the count.
        connection.limitSendBuffer(64 * 1024);
        if (connection.readRequest()) answer(connection);
    }

    void answer(loopback::Connection& connection)
    {
        bool open = connection.send(answer_.head) && connection.send(answer_.start);
        if (open && answer_.filler.empty()) connection.waitForClose(30);
        while (open && !answer_.filler.empty() && connection.bytesSent() < kSendLimit)
            open = connection.send(answer_.filler);
        mostBytesSent_ = std::max<std::uint64_t>(mostBytesSent_, connection.bytesSent());
    }

    HostileAnswer answer_;
    std::atomic<std::uint64_t> mostBytesSent_{0};
    loopback::Peer peer_;  // last: its thread serves with the members above
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
