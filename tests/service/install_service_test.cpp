// Tests of the install service calls against the development service on loopback: what the
// handshake sends and accepts, and the telemetry records.
#include "service/install_service.h"

#include "service/payload_codec.h"
#include "tools/dev_install_service/dev_service.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <regex>
#include <thread>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>

// The end report's death tests fork this process and end the child through exit(). The child
// lacks the parent's server threads, which LeakSanitizer's check at exit misreads as leaks, so
// that check is off and the parent runs it itself once every test has finished.
extern "C" const char* __lsan_default_options()
{
    return "leak_check_at_exit=0";
}

namespace {
class ParentLeakCheck : public testing::Environment {
    void TearDown() override { __lsan_do_leak_check(); }
};
testing::Environment* const kParentLeakCheck =
    testing::AddGlobalTestEnvironment(new ParentLeakCheck);
}  // namespace
#endif
#endif

namespace {

const char kHandshakeRecord[] = R"({"versionCode":1,"version":"v1.0","channel":"office"})";

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::string tempPath(const std::string& name)
{
    const std::string path =
        testing::TempDir() + "install_service_test_" + std::to_string(getpid()) + "_" + name;
    std::remove(path.c_str());
    return path;
}

// The development service on a free loopback port, serving on a thread for one test.
class RunningService {
public:
    explicit RunningService(ServiceOptions options)
        : requestLog_(options.requestLog = tempPath("requests.log")),
          telemetryLog_(options.telemetryLog = tempPath("telemetry.log")),
          service_((options.port = 0, options))
    {
        port_ = service_.bind();
        EXPECT_GT(port_, 0);
        thread_ = std::thread([this] { service_.run(); });
        waitUntilServing();
    }
    ~RunningService()
    {
        service_.stop();
        thread_.join();
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> requests() const { return readLines(requestLog_); }
    std::vector<std::string> telemetry() const { return readLines(telemetryLog_); }

private:
    // Returns once the server has answered a request (an unrouted path, which is not logged):
    // its worker threads are then idle, so a death test may fork without inheriting a lock
    // held by a thread that was still starting.
    void waitUntilServing() const
    {
        httplib::Client client("127.0.0.1", port_);
        for (int tries = 0; tries < 200 && !client.Get("/"); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    std::string requestLog_;
    std::string telemetryLog_;
    DevInstallService service_;
    int port_ = -1;
    std::thread thread_;
};

// A URL on which nothing listens: the port stays bound (so nobody takes it) but not listening.
class RefusingPort {
public:
    RefusingPort() : fd_(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        socklen_t length = sizeof address;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        url_ = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    }
    ~RefusingPort() { close(fd_); }
    const std::string& url() const { return url_; }

private:
    int fd_;
    std::string url_;
};

ServiceOptions faulty(Fault fault, int count = -1)
{
    ServiceOptions options;
    options.fault = fault;
    options.faultCount = count;
    return options;
}

class InstallServiceTest : public testing::Test {
protected:
    static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }
};

TEST_F(InstallServiceTest, HandshakeSendsTheFixedRecordAndReadsTheFourValues)
{
    ServiceOptions options;
    options.currVersion = "2.4.1";
    options.downloadUrl = "http://dl.example:8080/pkg/client_setup.exe";
    options.privacyUrl = "http://www.example/privacy?lang=zh";
    options.agreementUrl = "http://www.example/agreement";
    RunningService service(options);

    for (int run = 0; run < 2; ++run) {
        const auto info = attemptHandshake(service.url());
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->currVersion, "2.4.1");
        EXPECT_EQ(info->downloadUrl, "http://dl.example:8080/pkg/client_setup.exe");
        EXPECT_EQ(info->privacyUrl, "http://www.example/privacy?lang=zh");
        EXPECT_EQ(info->agreementUrl, "http://www.example/agreement");
    }

    const auto requests = service.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(std::string(kHandshakeRecord).size(), 53u);
    const std::string body = encryptPayload(kHandshakeRecord);
    EXPECT_EQ(decryptPayload(body), kHandshakeRecord);
    for (const std::string& line : requests) {
        EXPECT_NE(line.find(R"("method":"POST","path":"/v1/initInstall")"), std::string::npos);
        EXPECT_NE(line.find(R"("userAgent":"cpp-httplib/0.7")"), std::string::npos) << line;
        EXPECT_NE(line.find(R"("connection":"")"), std::string::npos) << line;
        EXPECT_NE(line.find(R"("contentType":"application/json")"), std::string::npos);
        EXPECT_NE(line.find("\"body\":\"" + body + "\""), std::string::npos) << line;
    }
}

TEST_F(InstallServiceTest, HandshakeFailsWithoutA200AndDoesNotFollowRedirects)
{
    for (Fault fault : {Fault::Redirect, Fault::NotFound, Fault::ServerError, Fault::Close}) {
        RunningService service(faulty(fault));
        EXPECT_FALSE(attemptHandshake(service.url()).has_value())
            << "fault " << static_cast<int>(fault);
        const auto requests = service.requests();
        ASSERT_EQ(requests.size(), 1u);  // in particular nothing went to "/redirected"
        EXPECT_NE(requests[0].find("/v1/initInstall"), std::string::npos);
    }
    RefusingPort down;
    EXPECT_FALSE(attemptHandshake(down.url()).has_value());
}

TEST_F(InstallServiceTest, HandshakeAnswerWithoutDataStillSucceedsWithEmptyValues)
{
    RunningService service(faulty(Fault::NoData));
    const auto info = attemptHandshake(service.url());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->currVersion, "");
    EXPECT_EQ(info->downloadUrl, "");
    EXPECT_EQ(info->privacyUrl, "");
    EXPECT_EQ(info->agreementUrl, "");
}

// Other threads may still be inside the HTTP client or painting when the end report ends the
// process: the end runs no static destructor (nor anything registered with atexit) under them.
TEST_F(InstallServiceTest, EndReportEndsTheProcessWithoutRunningStaticDestructors)
{
    RunningService service{ServiceOptions{}};
    EXPECT_EXIT(
        {
            std::atexit([] { std::_Exit(7); });
            reportInstallEnd("1", 5, 2, service.url());
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(service.telemetry().size(), 1u);
}

TEST_F(InstallServiceTest, ReportsSendBothRecordsWithOneDeviceCodeAndEndExitsWithZero)
{
    RunningService service{ServiceOptions{}};
    reportInstallStart("3.0.7", service.url());
    // The end report runs in a forked child, which shares this process's device code.
    EXPECT_EXIT(reportInstallEnd("3.0.7", 1000, 900, service.url()), testing::ExitedWithCode(0),
                "");

    const auto records = service.telemetry();
    ASSERT_EQ(records.size(), 2u);
    const std::regex shape(
        R"re(\{"deviceCode":"([0-9a-f]{32})","version":"3\.0\.7","operateTime":\d+,)re"
        R"re("page":"install","latency":(\d+),"operateName":"(install\w+)"\})re");
    std::smatch start, end;
    ASSERT_TRUE(std::regex_match(records[0], start, shape)) << records[0];
    ASSERT_TRUE(std::regex_match(records[1], end, shape)) << records[1];
    EXPECT_EQ(start[2], "0");
    EXPECT_EQ(start[3], "installStart");
    EXPECT_EQ(end[2], "100");
    EXPECT_EQ(end[3], "installEnd");
    EXPECT_EQ(start[1], end[1]);
}

// The version travels from the handshake answer into the telemetry records untouched: escapes
// stay as the service wrote them, so the service decodes the value it sent.
TEST_F(InstallServiceTest, TelemetryEchoesTheServicesVersionByteForByte)
{
    const std::string version = R"(5.0\/\u6d4b)";
    ServiceOptions options;
    options.currVersion = version;
    RunningService service(options);

    const auto info = attemptHandshake(service.url());
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->currVersion, version);
    reportInstallStart(info->currVersion, service.url());

    const auto records = service.telemetry();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0].find(R"(,"version":"5.0\/\u6d4b",)"), std::string::npos) << records[0];
}

TEST_F(InstallServiceTest, EndReportLatencyAcrossTheSigned32BitWrapIsTheElapsedSeconds)
{
    RunningService service{ServiceOptions{}};
    const std::int32_t start = INT32_MAX - 2;
    const std::int32_t end = INT32_MIN + 3;  // six seconds later, after the clock wrapped
    EXPECT_EXIT(reportInstallEnd("1", end, start, service.url()), testing::ExitedWithCode(0), "");

    const auto records = service.telemetry();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_NE(records[0].find(R"("latency":6,)"), std::string::npos) << records[0];
}

TEST_F(InstallServiceTest, EndReportExitsWithZeroWhenTheServiceIsDown)
{
    RefusingPort down;
    EXPECT_EXIT(reportInstallEnd("1", 5, 2, down.url()), testing::ExitedWithCode(0), "");
}

// The HTTP library throws for each of these URLs.
TEST_F(InstallServiceTest, UnusableServiceUrlsFailQuietlyInsteadOfCrashing)
{
    for (const char* url :
         {"https://127.0.0.1", "ftp://127.0.0.1", "http://127.0.0.1:99999999999", "gopher://x:1"}) {
        EXPECT_FALSE(attemptHandshake(url).has_value()) << url;
        reportInstallStart("1", url);
        EXPECT_EXIT(reportInstallEnd("1", 5, 2, url), testing::ExitedWithCode(0), "") << url;
    }
}

// What the installer's support log learns of each call, as "name status error".
std::mutex g_callsMutex;
std::vector<std::string> g_calls;

std::string describeCall(const ServiceCallResult& result)
{
    EXPECT_GE(result.milliseconds, 0) << result.call;
    return std::string(result.call) + " " + std::to_string(result.status) + " " + result.error;
}

void recordCall(const ServiceCallResult& result) noexcept
{
    const std::lock_guard<std::mutex> lock(g_callsMutex);
    g_calls.push_back(describeCall(result));
}

void printCall(const ServiceCallResult& result) noexcept
{
    std::fprintf(stderr, "observed %s\n", describeCall(result).c_str());
}

TEST_F(InstallServiceTest, TheObserverLearnsHowEachCallEndedStatusOrError)
{
    setServiceCallObserver(recordCall);
    {
        RunningService service(faulty(Fault::ServerError, 1));
        EXPECT_FALSE(attemptHandshake(service.url()).has_value());
        EXPECT_TRUE(attemptHandshake(service.url()).has_value());
        reportInstallStart("1", service.url());
    }
    RefusingPort down;
    attemptHandshake(down.url());
    reportInstallStart("1", down.url());
    attemptHandshake("https://127.0.0.1:1");
    setServiceCallObserver(nullptr);
    attemptHandshake(down.url());  // nobody observes any more

    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"initInstall 500 ", "initInstall 200 ", "installStart 200 ",
                                        "initInstall 0 Connection", "installStart 0 Connection",
                                        "initInstall 0 not sent"}));
}

TEST_F(InstallServiceTest, TheObserverLearnsTheEndReportsResultBeforeTheProcessEnds)
{
    RunningService service{ServiceOptions{}};
    EXPECT_EXIT(
        {
            setServiceCallObserver(printCall);
            reportInstallEnd("1", 5, 2, service.url());
        },
        testing::ExitedWithCode(0), "observed installEnd 200 \n");
}

}  // namespace
