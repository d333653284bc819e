// The install service calls: handshake and telemetry reports over cpp-httplib.
#include "service/install_service.h"

#include "service/device_code.h"
#include "service/json_record.h"
#include "service/payload_codec.h"

#include <httplib.h>

#include <cstdlib>
#include <ctime>
#include <exception>
#include <memory>

#ifndef VQ_INSTALL_SERVICE_URL
#error "VQ_INSTALL_SERVICE_URL must be defined by the build"
#endif

namespace {

// The handshake request record, sent byte for byte.
const char kHandshakeRecord[] = R"({"versionCode":1,"version":"v1.0","channel":"office"})";
const char kContentType[] = "application/json";

// The HTTP client for baseUrl, or null when baseUrl is no usable http:// origin. The library
// throws for a scheme other than http and for a port beyond int (built without exceptions it
// leaves a client that crashes on first use); neither may end the installer.
std::unique_ptr<httplib::Client> openClient(const std::string& baseUrl)
{
    std::unique_ptr<httplib::Client> client;
    try {
        client = std::make_unique<httplib::Client>(baseUrl);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (!client->is_valid()) return nullptr;
    return client;
}

// A client configured the way the service's peers expect: the User-Agent of the HTTP library
// generation the service was built against, keep-alive on (no "Connection: close"), no
// redirects, connect time-out 300 s and read/write time-outs 5 s. Null for an unusable URL.
std::unique_ptr<httplib::Client> makeServiceClient(const std::string& baseUrl)
{
    auto client = openClient(baseUrl);
    if (!client) return nullptr;
    client->set_default_headers({{"User-Agent", "cpp-httplib/0.7"}});
    client->set_keep_alive(true);
    client->set_follow_location(false);
    client->set_connection_timeout(300, 0);
    client->set_read_timeout(5, 0);
    client->set_write_timeout(5, 0);
    return client;
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

// Sends one telemetry record; the answer is not examined.
void sendTelemetry(const std::string& baseUrl, const std::string& version, std::int32_t latency,
                   const char* operateName)
{
    auto client = makeServiceClient(baseUrl);
    if (!client) return;
    const std::string record =
        telemetryRecord(currentDeviceCode(), version, now32(), latency, operateName);
    client->Post("/v1/runIUInfo", encryptPayload(record), kContentType);
}

}  // namespace

const std::string& installServiceUrl()
{
    static const std::string url = VQ_INSTALL_SERVICE_URL;
    return url;
}

std::optional<InstallInfo> attemptHandshake(const std::string& baseUrl)
{
    auto client = makeServiceClient(baseUrl);
    if (!client) return std::nullopt;
    const httplib::Result result =
        client->Post("/v1/initInstall", encryptPayload(kHandshakeRecord), kContentType);
    if (!result || result->status != 200) return std::nullopt;
    return decodeHandshakeAnswer(result->body);
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

void reportInstallStart(const std::string& version, const std::string& baseUrl)
{
    sendTelemetry(baseUrl, version, 0, "installStart");
}

void reportInstallEnd(const std::string& version, std::int32_t endTime, std::int32_t startTime,
                      const std::string& baseUrl)
{
    // Subtract as unsigned so a wrapped clock gives the 32-bit difference instead of overflow.
    const auto latency = static_cast<std::int32_t>(static_cast<std::uint32_t>(endTime) -
                                                   static_cast<std::uint32_t>(startTime));
    sendTelemetry(baseUrl, version, latency, "installEnd");
    std::exit(0);
}
