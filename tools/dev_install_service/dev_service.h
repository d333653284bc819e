// DevInstallService: a development stand-in for the install service on 127.0.0.1. It answers
// the handshake with the addresses from its options, decrypts and logs telemetry records,
// serves package files (with byte ranges and validators), and misbehaves on request (the fault
// switches of ServiceOptions).
#pragma once

#include "tools/dev_install_service/file_answer.h"
#include "tools/dev_install_service/request_log.h"
#include "tools/dev_install_service/service_options.h"

#include <httplib.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>

class DevInstallService {
public:
    explicit DevInstallService(ServiceOptions options);

    // Binds 127.0.0.1 on the options' port (0: a free one). Returns the bound port, or -1 when
    // the port is taken or a log file cannot be opened. Not for Fault::Refuse.
    int bind();
    // Serves until stop(); call after a successful bind, typically on a thread of its own.
    void run();
    // Makes run() return. Safe from any thread.
    void stop();

private:
    void registerRoutes();
    void handleInitInstall(const httplib::Request& request, httplib::Response& response);
    void handleRunIUInfo(const httplib::Request& request, httplib::Response& response);
    // A served file: whole, a range of it, or cut short, as the options say.
    void handleFile(const httplib::Request& request, httplib::Response& response);
    // Moves the replacement over `path` before the file request the options name.
    void replaceOnce(const std::string& path);
    // Logs the request and applies the fault when it hits this request; returns true when the
    // fault produced the answer (or dropped the connection), so the handler must stop.
    bool logAndApplyFault(const httplib::Request& request, httplib::Response& response);
    // Logs the request; returns the fault that hits it (Fault::None when none does).
    Fault logRequest(const httplib::Request& request);
    // Answers with `fault` when it is one that replaces the answer (true); the shapes of a
    // served file's answer (stall, no-length, chunked, gzip) and None leave it (false).
    bool answerWithFault(Fault fault, const httplib::Request& request, httplib::Response& response);
    bool faultHits(const std::string& path);
    std::string handshakeAnswer() const;

    ServiceOptions options_;
    httplib::Server server_;
    LineLog requestLog_;
    LineLog telemetryLog_;
    std::mutex countsMutex_;
    std::map<std::string, int> requestCounts_;  // requests seen per path
    CutPlan cuts_;
    std::atomic<int> fileRequests_{0};  // requests of served files seen
};
