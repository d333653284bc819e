// Command-line options of the development install service: where it listens, what its handshake
// answers, where it logs, and the fault switches tests use to imitate a broken service.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

// How served files answer a Range header.
enum class RangeSupport {
    Bytes,     // "Accept-Ranges: bytes"; a satisfiable range gets 206, any other 416
    None,      // no Accept-Ranges; a Range header is ignored (the whole file with 200)
    Refuse,    // "Accept-Ranges: bytes", but every range request gets 416
    Mismatch,  // "Accept-Ranges: bytes", but a range request gets the whole file as a 206
               // labelled "bytes 0-(size-1)/size"
};

// The validators served files carry, which an If-Range header must match.
enum class Validators {
    Both,          // ETag and Last-Modified
    LastModified,  // Last-Modified only
    None,          // neither: ranges are served, but no If-Range can match
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
    // Served files (the answers that carry a file's bytes, counted from the first):
    RangeSupport ranges = RangeSupport::Bytes;
    Validators validators = Validators::Both;
    std::vector<std::uint64_t> cutAfter;  // answer i ends after cutAfter[i] body bytes
    std::uint64_t cutSeed = 0;            // with randomCuts: the seed of the cut points
    int randomCuts = 0;       // answers after the listed cuts end at a random point of their body
    std::string replaceWith;  // a file moved over the requested one before a later request
    int replaceAfter = -1;    // ... once this many file requests were answered; -1: never
    std::uint64_t rate = 0;   // bytes per second of a file answer's body; 0: as fast as it goes
};

// Parses argv (argv[0] is skipped). On error returns nothing and puts a message in `error`.
std::optional<ServiceOptions> parseServiceOptions(int argc, const char* const argv[],
                                                  std::string& error);

// The usage text, printed after an option error.
const char* serviceUsage();
