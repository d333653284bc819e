// Tests of the development install service: package files served whole with Content-Length and
// nothing outside the folder; the endless answer of its fault switch.
#include "tools/dev_install_service/dev_service.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

TEST(DevInstallService, ServesFilesOfItsFolderOnlyWithContentLength)
{
    const std::string folder = testing::TempDir() + "dev_service_files_" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const std::string package(300000, 'p');
    std::ofstream(folder + "/setup.exe", std::ios::binary) << package;
    std::filesystem::create_directories(folder + "/subfolder");

    ServiceOptions options;
    options.port = 0;
    options.filesDir = folder;
    DevInstallService service(options);
    const int port = service.bind();
    ASSERT_GT(port, 0);
    std::thread server([&service] { service.run(); });

    httplib::Client client("127.0.0.1", port);
    const auto file = client.Get("/setup.exe");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->status, 200);
    EXPECT_EQ(file->get_header_value("Content-Length"), std::to_string(package.size()));
    EXPECT_EQ(file->body, package);

    for (const char* path :
         {"/missing.exe", "/..", "/%2e%2e/etc/passwd", "/../etc/passwd", "/subfolder"}) {
        const auto refused = client.Get(path);
        ASSERT_TRUE(refused) << path;
        EXPECT_EQ(refused->status, 404) << path;
    }

    service.stop();
    server.join();
}

TEST(DevInstallService, EndlessFaultStreamsUntilTheClientHangsUp)
{
    const char* argv[] = {"dev_install_service", "--port", "0", "--fault", "endless"};
    std::string error;
    const auto options = parseServiceOptions(5, argv, error);
    ASSERT_TRUE(options) << error;
    DevInstallService service(*options);
    const int port = service.bind();
    ASSERT_GT(port, 0);
    std::thread server([&service] { service.run(); });

    httplib::Request request;
    request.method = "POST";
    request.path = "/v1/initInstall";
    std::size_t received = 0;
    request.content_receiver = [&received](const char*, std::size_t size, std::uint64_t,
                                           std::uint64_t) {
        received += size;
        return received < (16u << 20);
    };
    httplib::Client client("127.0.0.1", port);
    httplib::Response response;
    httplib::Error result = httplib::Error::Success;
    EXPECT_FALSE(client.send(request, response, result));
    EXPECT_EQ(result, httplib::Error::Canceled) << "the body ended before the client hung up";
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.get_header_value("Transfer-Encoding"), "chunked");

    // The answer stops once the client has hung up, or stopping would wait for it for good.
    service.stop();
    server.join();
}

}  // namespace
