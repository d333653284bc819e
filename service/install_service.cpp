// The install service calls: handshake and telemetry reports over the HTTP client.
#include "service/install_service.h"

#include "service/device_code.h"
#include "service/json_record.h"
#include "service/payload_codec.h"
#include "service/process_end.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <ctime>
#include <memory>
#include <utility>

#ifndef VQ_INSTALL_SERVICE_URL
#error "VQ_INSTALL_SERVICE_URL must be defined by the build"
#endif

namespace {

// The handshake request record, sent byte for byte.
const char kHandshakeRecord[] = R"({"versionCode":1,"version":"v1.0","channel":"office"})";
const char kContentType[] = "application/json";

// The service's answers are a few hundred bytes. A longer body is a broken or hostile answer:
// reading it whole could exhaust the 32-bit installer's address space, so it fails the call.
constexpr std::size_t kMaxAnswerBytes = 64 * 1024;

struct Answer {
    int status;
    std::string body;
};

std::atomic<ServiceCallObserver> g_callObserver{nullptr};

// One call as the observer learns it: filled while the call runs, handed over when it ends,
// however it ends (an exception included).
class CallRecord {
public:
    explicit CallRecord(const char* call) : m_call(call) {}
    ~CallRecord()
    {
        const ServiceCallObserver observer = g_callObserver.load();
        if (!observer) return;
        const auto elapsed = std::chrono::steady_clock::now() - m_started;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
        observer(ServiceCallResult{m_call, m_status, m_error.c_str(), static_cast<long>(ms)});
    }
    CallRecord(const CallRecord&) = delete;
    CallRecord& operator=(const CallRecord&) = delete;

    void answered(int status)
    {
        m_status = status;
        m_error.clear();
    }
    void failed(std::string error) { m_error = std::move(error); }

private:
    const char* m_call;
    const std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
    int m_status = 0;
    std::string m_error = "not sent";
};

// True when the answer does not announce a body longer than the cap. The length is read in 64
// bits, so a value above 4 GiB is not cut short on a 32-bit build; one that is no number at
// all fails the call when the body is read.
bool declaredLengthFits(const http::ResponseHead& head)
{
    const std::string& length = head.headers.value("Content-Length");
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(length.data(), length.data() + length.size(), value);
    return error == std::errc::invalid_argument ||
           (error == std::errc() && value <= kMaxAnswerBytes);
}

// POSTs `body` as JSON to `path` and returns the status and body of the answer. Nothing when no
// complete answer arrived, or when its body is (or is announced as) longer than the cap: such
// an answer is refused from its headers or as soon as the cap is passed, so memory stays small
// and an endless body ends the call at once.
std::optional<Answer> postRecord(const http::Client& client, const char* path,
                                 const std::string& body, CallRecord& record)
{
    http::Request request;
    request.method = "POST";
    request.path = path;
    request.headers.add("Content-Type", kContentType);
    request.body = body;

    std::string answerBody;
    request.onHead = declaredLengthFits;
    request.onBody = [&answerBody](const char* data, std::size_t size) {
        if (size > kMaxAnswerBytes - answerBody.size()) return false;
        answerBody.append(data, size);
        return true;
    };

    const http::Result result = client.send(request);
    if (!result) {
        record.failed(http::errorName(result.error));
        return std::nullopt;
    }
    record.answered(result.status);
    return Answer{result.status, std::move(answerBody)};
}

InstallInfo decodeHandshakeAnswer(const std::string& body)
{
    JsonRecord answer;
    answer.parse(body);
    JsonRecord inner;
    inner.parse(decryptPayload(answer.get("data", "")));

    InstallInfo info;
    info.downloadUrl = inner.get("downloadUrl", "");
    info.privacyUrl = inner.get("privacyUrl", "");
    info.agreementUrl = inner.get("agreementUrl", "");
    info.currVersion = inner.get("currVersion", "");
    return info;
}

std::int32_t now32()
{
    return static_cast<std::int32_t>(std::time(nullptr));
}

// Sends one telemetry record; the answer is not examined. Throws nothing: a failure of any kind
// (an allocation included) only loses the record.
void sendTelemetry(const std::string& baseUrl, const std::string& version, std::int32_t latency,
                   const char* operateName) noexcept
{
    try {
        CallRecord call(operateName);
        auto client = makeServiceClient(baseUrl);
        if (!client) return;
        const std::string record =
            telemetryRecord(currentDeviceCode(), version, now32(), latency, operateName);
        postRecord(*client, "/v1/runIUInfo", encryptPayload(record), call);
    } catch (...) {
        // Telemetry is best effort; the caller runs on a detached thread that must not end
        // the process.
    }
}

}  // namespace

std::unique_ptr<http::Client> makeServiceClient(const std::string& origin) noexcept
{
    try {
        auto parsed = http::parseOrigin(origin);
        if (!parsed) return nullptr;
        http::ClientSettings settings;
        settings.userAgent = "cpp-httplib/0.7";
        settings.connectSeconds = 300;
        settings.readSeconds = 5;
        settings.writeSeconds = 5;
        return std::make_unique<http::Client>(std::move(*parsed), std::move(settings));
    } catch (...) {
        return nullptr;  // an allocation failed: no client, as for an unusable origin
    }
}

void setServiceCallObserver(ServiceCallObserver observer)
{
    g_callObserver.store(observer);
}

const std::string& installServiceUrl()
{
    static const std::string url = VQ_INSTALL_SERVICE_URL;
    return url;
}

std::optional<InstallInfo> attemptHandshake(const std::string& baseUrl) noexcept
{
    try {
        CallRecord call("initInstall");
        auto client = makeServiceClient(baseUrl);
        if (!client) return std::nullopt;
        const auto answer =
            postRecord(*client, "/v1/initInstall", encryptPayload(kHandshakeRecord), call);
        if (!answer || answer->status != 200) return std::nullopt;
        return decodeHandshakeAnswer(answer->body);
    } catch (...) {
        // Whatever went wrong (an allocation, a callback), it is one failed attempt.
        return std::nullopt;
    }
}

std::string telemetryRecord(const std::string& deviceCode, const std::string& version,
                            std::int32_t operateTime, std::int32_t latency,
                            const std::string& operateName)
{
    JsonRecord record;
    record.add("deviceCode").setString(deviceCode);
    record.add("version").setString(version);
    record.add("operateTime").setInt(operateTime);
    record.add("page").setString("install");
    record.add("latency").setInt(latency);
    record.add("operateName").setString(operateName);
    return record.serialize(1);
}

void reportInstallStart(const std::string& version, const std::string& baseUrl) noexcept
{
    sendTelemetry(baseUrl, version, 0, "installStart");
}

void reportInstallEnd(const std::string& version, std::int32_t endTime, std::int32_t startTime,
                      const std::string& baseUrl) noexcept
{
    // Subtract as unsigned so a wrapped clock gives the 32-bit difference instead of overflow.
    const auto latency = static_cast<std::int32_t>(static_cast<std::uint32_t>(endTime) -
                                                   static_cast<std::uint32_t>(startTime));
    sendTelemetry(baseUrl, version, latency, "installEnd");
    endProcess(0);
}
