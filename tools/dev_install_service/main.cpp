// The development install service: parses its options, serves on 127.0.0.1 until SIGTERM or
// SIGINT, and prints the bound port so scripts can use port 0.
#include "tools/dev_install_service/dev_service.h"
#include "tools/dev_install_service/service_options.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

namespace {

// Blocks the stop signals in every thread created from now on, so sigwait receives them.
sigset_t blockStopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::string error;
    const auto options = parseServiceOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "dev_install_service: %s\n%s", error.c_str(), serviceUsage());
        return 2;
    }
    // A client that hangs up must not end the service with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    const sigset_t stopSignals = blockStopSignals();
    int signal = 0;

    if (options->fault == Fault::Refuse) {
        std::printf("refusing connections: not listening on port %d\n", options->port);
        std::fflush(stdout);
        sigwait(&stopSignals, &signal);
        return 0;
    }

    DevInstallService service(*options);
    const int port = service.bind();
    if (port < 0) {
        std::fprintf(stderr, "dev_install_service: cannot listen on 127.0.0.1:%d or open a log\n",
                     options->port);
        return 1;
    }
    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);

    std::thread server([&service] { service.run(); });
    sigwait(&stopSignals, &signal);
    service.stop();
    server.join();
    return 0;
}
