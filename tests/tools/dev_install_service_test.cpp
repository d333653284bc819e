// Tests of the development install service's package files: served whole with Content-Length,
// and nothing outside the folder.
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

}  // namespace
