// The install service calls: the start-up handshake ("/v1/initInstall") and the two telemetry
// reports ("/v1/runIUInfo"). Each call builds its own HTTP client for the service's base URL,
// sends one request and discards the client. Portable (Windows and Linux).
#pragma once

#include "service/http_client.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// What a successful handshake yields, in the order the options window takes them. Values are
// used as the service wrote them; a member missing from the answer is an empty string.
struct InstallInfo {
    std::string currVersion;
    std::string downloadUrl;
    std::string privacyUrl;
    std::string agreementUrl;
};

// How one call to the service ended, for the installer's support log.
struct ServiceCallResult {
    const char* call;   // "initInstall", "installStart" or "installEnd"
    int status;         // the answer's HTTP status; 0 when no answer arrived
    const char* error;  // why no answer arrived: the HTTP client's error name, or "not sent"
    long milliseconds;  // from the start of the call to its end
};

// Receives the end of every handshake attempt and report, on the thread that made the call.
// Set it once, before the first call; none by default. It must not throw.
using ServiceCallObserver = void (*)(const ServiceCallResult& result) noexcept;
void setServiceCallObserver(ServiceCallObserver observer);

// The built-in base URL of the install service (an http:// origin, fixed at build time).
const std::string& installServiceUrl();

// An HTTP client for `origin` set up the way the install service's peers expect, shared by the
// service calls and the package download: the User-Agent "cpp-httplib/0.7" they have always
// seen, keep-alive on (no "Connection: close"), no redirects followed, no compressed answers
// accepted, connect time-out 300 s, read and write time-outs 5 s. Null when origin is not a
// usable http:// origin.
std::unique_ptr<http::Client> makeServiceClient(const std::string& origin) noexcept;

// Every call below reads at most 64 KiB of an answer's body: a longer body (announced or
// endless) fails the call as soon as it is seen. None of them throws.

// One handshake attempt against `baseUrl`. Returns nothing when no complete response arrived,
// its body is too long, or its status is not exactly 200 (redirects are not followed), and when
// baseUrl is not a usable http:// origin. Any other 200 answer succeeds, even one without a
// readable "data" member: the values that cannot be read are then empty. Retrying is the
// caller's business.
std::optional<InstallInfo>
attemptHandshake(const std::string& baseUrl = installServiceUrl()) noexcept;

// The telemetry record text: the six members in their fixed order, no whitespace.
std::string telemetryRecord(const std::string& deviceCode, const std::string& version,
                            std::int32_t operateTime, std::int32_t latency,
                            const std::string& operateName);

// Sends the installStart record for `version` (the current version from the handshake) with
// latency 0. Blocks for the request; its outcome is not reported and a failure (an unusable
// baseUrl included) is not retried.
// Meant to run on a detached thread of its own.
void reportInstallStart(const std::string& version,
                        const std::string& baseUrl = installServiceUrl()) noexcept;

// Sends the installEnd record for `version` with latency endTime - startTime (seconds, 32-bit
// arithmetic), then ends the process with exit code 0 whether or not the request succeeded
// (or could be made at all).
[[noreturn]] void reportInstallEnd(const std::string& version, std::int32_t endTime,
                                   std::int32_t startTime,
                                   const std::string& baseUrl = installServiceUrl()) noexcept;
