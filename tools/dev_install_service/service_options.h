// Command-line options of the development install service: where it listens, what its handshake
// answers, where it logs, and the fault switches tests use to imitate a broken service.
#pragma once

#include <optional>
#include <string>

// How the service misbehaves for the requests a fault applies to.
enum class Fault {
    None,
    Refuse,       // never listen: connections are refused
    Close,        // read the request, then close the connection without an answer
    Redirect,     // 302 to "/redirected", which would answer a valid handshake if followed
    NotFound,     // 404
    ServerError,  // 500
    NoData,       // 200 with a JSON body that has no "data" member
    Endless,      // 200 with a chunked body that never ends (until the client hangs up)
    // Shapes of a served file's answer (other paths answer as without a fault):
    Stall,     // Content-Length sent, half the body, then nothing more (until the client hangs up)
    NoLength,  // the body without Content-Length, ended by closing the connection
    Chunked,   // the body in chunks
    Gzip,      // the body unchanged, declared "Content-Encoding: gzip"
    NotProgram,  // a text body in place of the file (even a file that does not exist)
};

struct ServiceOptions {
    int port = 18080;  // 0 picks a free port
    std::string currVersion = "1.0.0";
    std::string downloadUrl;   // empty: http://127.0.0.1:PORT/package.exe
    std::string privacyUrl;    // empty: http://127.0.0.1:PORT/privacy.html
    std::string agreementUrl;  // empty: http://127.0.0.1:PORT/agreement.html
    std::string filesDir;      // folder whose files GET serves; empty serves nothing
    std::string requestLog;    // one JSON line per request; empty: no log
    std::string telemetryLog;  // one decrypted record per line; empty: no log
    Fault fault = Fault::None;
    std::string faultPath = "/v1/initInstall";
    int faultCount = -1;  // the fault hits the first N requests of faultPath; -1: all of them
};

// Parses argv (argv[0] is skipped). On error returns nothing and puts a message in `error`.
std::optional<ServiceOptions> parseServiceOptions(int argc, const char* const argv[],
                                                  std::string& error);

// The usage text, printed after an option error.
const char* serviceUsage();
