// The HTTP client against a scripted peer on loopback: the exact bytes of its requests, and how
// it reads answers that are well-formed, malformed, compressed, stalled or cut short, sent whole
// or in small pieces. Builds natively and for Windows (the shipped 32-bit program).
#include "service/http_client.h"
#include "tests/service/loopback_peer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Progress = std::pair<std::uint64_t, std::uint64_t>;

// What the peer does once it has read the request.
struct Script {
    std::vector<std::string> pieces;  // sent one after the other, a moment apart
    bool holdOpen = false;            // then waits for the client to close, instead of closing
};

enum class CancelAt { Nothing, Head, Body, Progress };

// What one request came to, on both ends of the connection.
struct Exchange {
    http::Result result;
    std::string request;  // the bytes the peer received
    bool headSeen = false;
    http::ResponseHead head;
    std::string body;  // what the body callback was given
    std::vector<Progress> progress;
    bool clientClosed = false;  // the peer saw the client close (a send failed or it held on)
    double seconds = 0;         // how long the client's send() took
    std::uint16_t port = 0;     // the peer's
};

constexpr int kHoldSeconds = 10;

// `bytes` cut into pieces of at most `size` bytes.
std::vector<std::string> inPieces(const std::string& bytes, std::size_t size)
{
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < bytes.size(); at += size)
        pieces.push_back(bytes.substr(at, size));
    return pieces;
}

http::Request get(std::string path = "/")
{
    http::Request request;
    request.path = std::move(path);
    return request;
}

// Installs callbacks that record into `out`, the one at `cancel` answering false.
void record(http::Request& request, Exchange& out, CancelAt cancel)
{
    request.onHead = [&out, cancel](const http::ResponseHead& head) {
        out.headSeen = true;
        out.head = head;
        return cancel != CancelAt::Head;
    };
    request.onBody = [&out, cancel](const char* data, std::size_t size) {
        out.body.append(data, size);
        return cancel != CancelAt::Body;
    };
    request.onProgress = [&out, cancel](std::uint64_t received, std::uint64_t total) {
        out.progress.emplace_back(received, total);
        return cancel != CancelAt::Progress;
    };
}

// Sends `request` to a peer that plays `script`, and returns what both ends saw.
Exchange exchange(const Script& script, http::Request request = get(),
                  CancelAt cancel = CancelAt::Nothing, http::ClientSettings settings = {})
{
    Exchange out;
    {
        loopback::Peer peer([&script, &out](loopback::Connection& connection) {
            out.request = connection.readRequest().value_or("");
            for (const std::string& piece : script.pieces) {
                if (!connection.send(piece)) {
                    out.clientClosed = true;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            if (script.holdOpen) out.clientClosed = connection.waitForClose(kHoldSeconds);
        });
        EXPECT_TRUE(peer.listening()) << "cannot listen on loopback";
        out.port = peer.port();
        record(request, out, cancel);
        const http::Client client({"127.0.0.1", peer.port()}, settings);
        const auto start = Clock::now();
        out.result = client.send(request);
        out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }  // the peer's script has ended here
    return out;
}

Exchange answerWith(const std::string& answer, std::size_t pieceSize = 7)
{
    return exchange({inPieces(answer, pieceSize)});
}

std::string okWithLength(const std::string& body, const std::string& extraHeaders = "")
{
    return "HTTP/1.1 200 OK\r\n" + extraHeaders + "Content-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// ---- the request ----------------------------------------------------------------------------

// The bytes the peer received for `request`, its port written as "PORT".
std::string sentBytes(const http::Request& request, const std::string& userAgent)
{
    http::ClientSettings settings;
    settings.userAgent = userAgent;
    const Exchange out = exchange({{okWithLength("")}}, request, CancelAt::Nothing, settings);
    EXPECT_EQ(out.result.error, http::Error::Success);
    const std::string port = ":" + std::to_string(out.port) + "\r\n";
    std::string bytes = out.request;
    if (const auto at = bytes.find(port); at != std::string::npos)
        bytes.replace(at, port.size(), ":PORT\r\n");
    return bytes;
}

const std::string kOldAgent = "cpp-httplib/0.7";

TEST(HttpRequest, PostIsWrittenAsPeersHaveAlwaysReceivedIt)
{
    http::Request request = get("/v1/initInstall");
    request.method = "POST";
    request.headers.add("Content-Type", "application/json");
    request.body = R"({"data":"x"})";
    EXPECT_EQ(sentBytes(request, kOldAgent), "POST /v1/initInstall HTTP/1.1\r\n"
                                             "Accept: */*\r\n"
                                             "Content-Length: 12\r\n"
                                             "Content-Type: application/json\r\n"
                                             "Host: 127.0.0.1:PORT\r\n"
                                             "User-Agent: cpp-httplib/0.7\r\n"
                                             "\r\n"
                                             R"({"data":"x"})");
    // A POST has a length even without a body; without a User-Agent none is sent.
    request.headers = {};
    request.body.clear();
    EXPECT_EQ(sentBytes(request, ""), "POST /v1/initInstall HTTP/1.1\r\n"
                                      "Accept: */*\r\n"
                                      "Content-Length: 0\r\n"
                                      "Host: 127.0.0.1:PORT\r\n"
                                      "\r\n");
}

// The caller's Range and If-Range fall into the sorted order; a GET has no Content-Length.
TEST(HttpRequest, GetWithRangeAndAnOddPathIsWrittenAsPeersHaveAlwaysReceivedIt)
{
    http::Request request = get("/dir a/b+c'd,e;f\r\n\xC3\xA9\x7F~?q=1&r=/");
    request.headers.add("Range", "bytes=100-");
    request.headers.add("If-Range", "\"v1\"");
    EXPECT_EQ(sentBytes(request, kOldAgent),
              "GET /dir%20a/b%2Bc%27d%2Ce%3Bf%0D%0A%C3%A9%7F~?q=1&r=/ HTTP/1.1\r\n"
              "Accept: */*\r\n"
              "Host: 127.0.0.1:PORT\r\n"
              "If-Range: \"v1\"\r\n"
              "Range: bytes=100-\r\n"
              "User-Agent: cpp-httplib/0.7\r\n"
              "\r\n");
}

TEST(HttpRequest, HostNamesNoPortForPort80)
{
    std::string received;
    {
        loopback::Peer peer(
            [&received](loopback::Connection& connection) {
                received = connection.readRequest().value_or("");
                connection.send(okWithLength(""));
            },
            80);
        if (!peer.listening()) GTEST_SKIP() << "port 80 is taken or needs privileges";
        EXPECT_TRUE(http::Client({"127.0.0.1", 80}, {}).send(get()));
    }
    EXPECT_NE(received.find("\r\nHost: 127.0.0.1\r\n"), std::string::npos) << received;
}

// ---- status lines -----------------------------------------------------------------------------

TEST(HttpStatusLine, AcceptedFormsGiveTheirStatus)
{
    const std::pair<std::string, int> answers[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 200},
        {"HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n", 404},
        {"HTTP/1.1 503\r\nContent-Length: 0\r\n\r\n", 503},
        {"HTTP/1.1 302 \r\nContent-Length: 0\r\n\r\n", 302},
        {"HTTP/1.1 200 OK\nContent-Length: 2\n\nok", 200},
        {"HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 201 Created\r\nContent-Length: 2\r\n\r\nok", 201},
        {"HTTP/1.1 100 Continue\r\nX-Interim: 1\r\n\r\n"
         "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
         200},
    };
    for (const auto& [answer, status] : answers) {
        SCOPED_TRACE(answer);
        const Exchange out = answerWith(answer);
        EXPECT_EQ(out.result.error, http::Error::Success);
        EXPECT_EQ(out.result.status, status);
        EXPECT_EQ(out.head.status, status);
        EXPECT_FALSE(out.head.headers.has("X-Interim")) << "the interim answer's head was kept";
    }
}

TEST(HttpStatusLine, MalformedOnesAreReadErrorsBeforeAnyCallback)
{
    const char* const lines[] = {
        "HTTP/2 200 OK",  "HTTP/1.1 20 OK",  "HTTP/1.1 2000 X", "HTTP/1.1 2x0 OK",
        "HTTP/1.1200 OK", "http/1.1 200 OK", "garbage",         "",
        "ICY 200 OK"};
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        const Exchange out = answerWith(std::string(line) + "\r\nContent-Length: 2\r\n\r\nok");
        EXPECT_EQ(out.result.error, http::Error::Read);
        EXPECT_EQ(out.result.status, 0);
        EXPECT_FALSE(out.headSeen);
        EXPECT_EQ(out.body, "");
    }
}

// ---- headers ----------------------------------------------------------------------------------

TEST(HttpHeaders, LookupIgnoresCaseTakesTheFirstAndTrimsBlanks)
{
    const Exchange out = answerWith(okWithLength("ok", "content-TYPE: text/plain\r\n"
                                                       "X-Twice: first\r\n"
                                                       "x-twice: second\r\n"
                                                       "X-Padded:  \t value with blanks \t \r\n"
                                                       "X-Split: a\rb\r\n"
                                                       "X-After: kept\r\n"));
    ASSERT_EQ(out.result.error, http::Error::Success);
    const http::Headers& headers = out.head.headers;
    EXPECT_EQ(headers.value("Content-Type"), "text/plain");
    EXPECT_EQ(headers.value("X-TWICE"), "first");
    EXPECT_EQ(headers.value("x-padded"), "value with blanks");
    EXPECT_FALSE(headers.has("X-Split")) << "a value with a lone CR must not be seen";
    EXPECT_EQ(headers.value("X-After"), "kept");
    EXPECT_EQ(headers.value("X-Missing"), "");
    EXPECT_EQ(out.body, "ok");
}

std::string manyHeaderLines(int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i) lines += "X-Line-" + std::to_string(i) + ": " + "v\r\n";
    return lines;
}

// A head that is too long or has too many lines is refused, not held in memory.
TEST(HttpHeaders, LimitsOfLineLengthAndLineCount)
{
    const std::string longValue(8000, 'a');
    const Exchange longLine = answerWith(okWithLength("ok", "X-Long: " + longValue + "\r\n"), 4096);
    EXPECT_EQ(longLine.result.error, http::Error::Success);
    EXPECT_EQ(longLine.head.headers.value("X-Long"), longValue);

    const std::string tooLong(8300, 'a');
    EXPECT_EQ(answerWith(okWithLength("ok", "X-Long: " + tooLong + "\r\n"), 4096).result.error,
              http::Error::Read);

    // With Content-Length, 100 lines in all, then 101.
    EXPECT_EQ(answerWith(okWithLength("ok", manyHeaderLines(99)), 512).result.error,
              http::Error::Success);
    EXPECT_EQ(answerWith(okWithLength("ok", manyHeaderLines(100)), 512).result.error,
              http::Error::Read);
}

// ---- bodies -----------------------------------------------------------------------------------

struct BodyCase {
    const char* name;
    std::string answer;
    http::Error error;
    std::string body;  // the body, or what came before the fault
};

std::vector<BodyCase> bodyCases()
{
    const auto R = http::Error::Read;
    const auto S = http::Error::Success;
    return {
        {"content-length", okWithLength("hello, world"), S, "hello, world"},
        {"chunked", kChunkedHead + "5\r\nhello\r\n7\r\n, world\r\n0\r\n\r\n", S, "hello, world"},
        {"chunked with upper-case hex, extensions and trailers",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
         "A;name=value\r\n0123456789\r\n2 ; x\r\nab\r\n0;last\r\nX-Trailer: t\r\nX-More: m\r\n\r\n",
         S, "0123456789ab"},
        {"no length, read until the peer closes", "HTTP/1.1 200 OK\r\n\r\nuntil the end", S,
         "until the end"},
        {"HTTP/1.0, no length", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nold style", S, "old style"},
        {"content-length cut short", "HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\nonly ten..", R,
         "only ten.."},
        // Cut to 32 bits, these lengths would be exactly the five bytes sent.
        {"length above 4 GiB", "HTTP/1.1 200 OK\r\nContent-Length: 4294967301\r\n\r\nhello", R,
         "hello"},
        {"chunk above 4 GiB", kChunkedHead + "100000005\r\nhello", R, "hello"},
        {"head cut short", "HTTP/1.1 200 OK\r\nContent-Len", R, ""},
        {"no answer at all", "", R, ""},
        {"chunked cut short", kChunkedHead + "5\r\nhello\r\n5\r\nwo", R, "hellowo"},
        {"chunked without its last chunk", kChunkedHead + "5\r\nhello\r\n", R, "hello"},
        {"chunked without the empty line after the trailers", kChunkedHead + "0\r\nX-T: 1\r\n", R,
         ""},
        {"chunk size not hexadecimal", kChunkedHead + "zz\r\nhello\r\n0\r\n\r\n", R, ""},
        {"chunk size empty", kChunkedHead + "\r\nhello\r\n0\r\n\r\n", R, ""},
        {"chunk size with 0x", kChunkedHead + "0x5\r\nhello\r\n0\r\n\r\n", R, ""},
        {"chunk size beyond 64 bits", kChunkedHead + "1ffffffffffffffff\r\nhello\r\n", R, ""},
        {"no CRLF after a chunk", kChunkedHead + "5\r\nhelloXX\r\n0\r\n\r\n", R, "hello"},
        // A transfer coding nothing here decodes: its framing would be taken for the body.
        {"gzip before chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", R,
         ""},
        {"identity before chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: identity, chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
         S, "hello"},
    };
}

TEST(HttpBody, ArrivesWholeOrEndsWithReadWhenBroken)
{
    for (const BodyCase& test : bodyCases()) {
        for (const std::size_t pieceSize : {std::size_t{7}, std::size_t{1} << 16}) {
            SCOPED_TRACE(test.name + (" in pieces of " + std::to_string(pieceSize)));
            const Exchange out = answerWith(test.answer, pieceSize);
            EXPECT_EQ(out.result.error, test.error);
            EXPECT_EQ(out.result.status, test.error == http::Error::Success ? 200 : 0);
            if (test.error == http::Error::Success) {
                EXPECT_EQ(out.body, test.body);
            } else {  // what came before the fault may or may not have been passed on
                EXPECT_EQ(test.body.compare(0, out.body.size(), out.body), 0) << out.body;
            }
            const bool announced = test.answer.find("Content-Length") != std::string::npos;
            EXPECT_TRUE(announced || out.progress.empty()) << "progress without a length";
        }
    }
}

TEST(HttpBody, ContentLengthThatIsNoNumberIsARead)
{
    for (const char* length : {"abc", "-1", "+5", "5x", "0x5", "1 2", "99999999999999999999999"}) {
        SCOPED_TRACE(length);
        const Exchange out = answerWith(std::string("HTTP/1.1 200 OK\r\nContent-Length: ") +
                                        length + "\r\n\r\nhello");
        EXPECT_EQ(out.result.error, http::Error::Read);
        EXPECT_EQ(out.body, "");
    }
}

TEST(HttpBody, NoContentHasNoBodyAndNoHeadCallback)
{
    const Exchange out = answerWith("HTTP/1.1 204 No Content\r\nContent-Length: 5\r\n\r\nhello");
    EXPECT_EQ(out.result.error, http::Error::Success);
    EXPECT_EQ(out.result.status, 204);
    EXPECT_FALSE(out.headSeen);
    EXPECT_EQ(out.body, "");
}

// A body larger than any block the client reads in, so it arrives in several.
TEST(HttpBody, ProgressRisesToTheAnnouncedLength)
{
    std::string body(5 * 512 * 1024 + 3, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 + i / 251);
    const Exchange out = answerWith(okWithLength(body), 64 * 1024);
    ASSERT_EQ(out.result.error, http::Error::Success);
    EXPECT_TRUE(out.body == body) << "the body arrived changed";
    ASSERT_GE(out.progress.size(), 2u);
    for (std::size_t i = 0; i < out.progress.size(); ++i) {
        EXPECT_EQ(out.progress[i].second, body.size());
        EXPECT_GT(out.progress[i].first, i == 0 ? 0 : out.progress[i - 1].first);
    }
    EXPECT_EQ(out.progress.back(), Progress(body.size(), body.size()));
}

// No decompressor is built in: a compressed body must never be passed on as if it were the
// package.
void expectRefused(const std::vector<std::string>& encodings)
{
    for (const std::string& encoding : encodings) {
        SCOPED_TRACE(encoding);
        const Exchange out =
            answerWith(okWithLength("\x1f\x8b\x08 body", "Content-Encoding: " + encoding + "\r\n"));
        EXPECT_EQ(out.result.error, http::Error::Read);
        EXPECT_TRUE(out.headSeen);
        EXPECT_EQ(out.body, "");
    }
}

TEST(HttpBody, CompressedAnswersAreRefusedAfterTheHead)
{
    expectRefused({"gzip", "deflate", "br"});
    const Exchange identity = answerWith(okWithLength("plain", "Content-Encoding: identity\r\n"));
    EXPECT_EQ(identity.result.error, http::Error::Success);
    EXPECT_EQ(identity.body, "plain");
}

// Coding names compare without regard to case, "x-gzip" is gzip, and a list names each coding
// applied.
TEST(HttpBody, CompressedAnswersAreRefusedWhateverTheSpelling)
{
    expectRefused({"GZIP", "Deflate", "x-gzip", "deflate, identity", "compress"});
}

// ---- callbacks that cancel, and time-outs -----------------------------------------------------

// The peer sends part of an announced body and holds the connection: a client that went on
// reading would wait out its read time-out of 10 s before closing.
TEST(HttpCallbacks, AnsweringFalseCancelsAndClosesAtOnce)
{
    http::ClientSettings settings;
    settings.readSeconds = 10;
    const Script script{{"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n", "first part"}, true};
    for (const CancelAt cancel : {CancelAt::Head, CancelAt::Body, CancelAt::Progress}) {
        SCOPED_TRACE(static_cast<int>(cancel));
        const Exchange out = exchange(script, get(), cancel, settings);
        EXPECT_EQ(out.result.error, http::Error::Canceled);
        EXPECT_EQ(out.result.status, 0);
        EXPECT_TRUE(out.clientClosed);
        EXPECT_LT(out.seconds, 3.0) << "the client read on after the cancel";
        EXPECT_EQ(out.body, cancel == CancelAt::Head ? "" : "first part");
    }
}

// A peer that stalls before its answer or in the middle of the body.
TEST(HttpTimeouts, AStalledAnswerEndsWithReadAfterTheReadTimeout)
{
    http::ClientSettings settings;
    settings.readSeconds = 1;
    const Script stalls[] = {
        {{}, true},
        {{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n", "ten bytes."}, true},
    };
    for (const Script& script : stalls) {
        SCOPED_TRACE(script.pieces.size());
        const Exchange out = exchange(script, get(), CancelAt::Nothing, settings);
        EXPECT_EQ(out.result.error, http::Error::Read);
        EXPECT_EQ(out.body, script.pieces.empty() ? "" : "ten bytes.");
        EXPECT_GE(out.seconds, 0.8);
        EXPECT_LE(out.seconds, 4.0);
        EXPECT_TRUE(out.clientClosed);
    }
}

// A peer that reads nothing: the request fills the sockets' buffers and the send stalls.
TEST(HttpTimeouts, ARequestThePeerNeverReadsEndsWithWriteAfterTheWriteTimeout)
{
    std::atomic<bool> done{false};
    loopback::Peer peer([&done](loopback::Connection&) {
        for (int wait = 0; wait < 1000 && !done; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    http::Request request = get();
    request.method = "POST";
    request.body.assign(32u << 20, 'x');
    http::ClientSettings settings;
    settings.writeSeconds = 1;
    const auto start = Clock::now();
    const http::Result result = http::Client({"127.0.0.1", peer.port()}, settings).send(request);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    done = true;
    EXPECT_EQ(result.error, http::Error::Write);
    EXPECT_GE(seconds, 0.8);
    EXPECT_LE(seconds, 4.0);
}

// A refused port, and a name that never resolves (the "invalid" domain is reserved for that).
TEST(HttpConnection, NoConnectionIsAConnectionError)
{
    std::uint16_t closedPort = 0;
    {
        const loopback::Peer closedSoon([](loopback::Connection&) {});
        closedPort = closedSoon.port();
    }
    for (const http::Origin& origin :
         {http::Origin{"127.0.0.1", closedPort}, http::Origin{"no-such-host.invalid", 80}}) {
        SCOPED_TRACE(origin.host);
        const http::Result result = http::Client(origin, {}).send(get());
        EXPECT_EQ(result.error, http::Error::Connection);
        EXPECT_EQ(result.status, 0);
    }
}

TEST(HttpConnection, AnUnansweredConnectionEndsAfterTheConnectTimeout)
{
    const loopback::FullListener listener;
    ASSERT_NE(listener.port(), 0) << "cannot listen on loopback";
    http::ClientSettings settings;
    settings.connectSeconds = 1;
    const auto start = Clock::now();
    const http::Result result = http::Client({"127.0.0.1", listener.port()}, settings).send(get());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(result.error, http::Error::ConnectionTimeout);
    EXPECT_GE(seconds, 0.8);
    EXPECT_LE(seconds, 4.0);
}

// A name, not an address (every address it resolves to is tried until one answers).
TEST(HttpConnection, AHostNameIsResolved)
{
    loopback::Peer peer([](loopback::Connection& connection) {
        if (connection.readRequest()) connection.send(okWithLength(""));
    });
    const http::Result result = http::Client({"localhost", peer.port()}, {}).send(get());
    EXPECT_EQ(result.error, http::Error::Success);
}

// ---- origins and error names ------------------------------------------------------------------

TEST(HttpOrigin, AcceptedForms)
{
    const std::tuple<const char*, const char*, std::uint16_t> accepted[] = {
        {"127.0.0.1:8080", "127.0.0.1", 8080},
        {"example.test", "example.test", 80},
        {"http://example.test", "example.test", 80},
        {"http://example.test:1", "example.test", 1},
        {"http://example.test:65535", "example.test", 65535},
        {"http://[::1]:8080", "::1", 8080},
        {"[fe80::1]", "fe80::1", 80},
    };
    for (const auto& [text, host, port] : accepted) {
        SCOPED_TRACE(text);
        const auto origin = http::parseOrigin(text);
        ASSERT_TRUE(origin.has_value());
        EXPECT_EQ(origin->host, host);
        EXPECT_EQ(origin->port, port);
    }
}

TEST(HttpOrigin, RefusedForms)
{
    for (const char* text :
         {"https://example.test", "ftp://example.test", "HTTP://example.test", "http://",
          "http://:8080", "", "[]:80", "http://example.test/", "http://example.test?x=1",
          "http://example.test/path", "example.test:0", "example.test:65536",
          "example.test:99999999999999999999", "example.test:", "example.test:80x",
          "example.test:-1", "[::1", "[::1]x"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(http::parseOrigin(text).has_value());
    }
}

TEST(HttpError, EveryErrorHasItsName)
{
    using http::Error;
    const std::pair<Error, std::string> names[] = {
        {Error::Success, "Success"},
        {Error::Connection, "Connection"},
        {Error::ConnectionTimeout, "ConnectionTimeout"},
        {Error::Read, "Read"},
        {Error::Write, "Write"},
        {Error::Canceled, "Canceled"},
    };
    for (const auto& [error, name] : names) EXPECT_EQ(http::errorName(error), name);
}

}  // namespace
