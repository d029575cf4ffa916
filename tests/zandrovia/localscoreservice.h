// A score service for the tests: a copy of tests/tools/scoreservice.py on a
// loopback port of its own, started by the object and killed with it.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/testsupport.h"

extern char** environ;

namespace testsupport {

// A copy of tests/tools/scoreservice.py serving a loopback socket that this
// object opened (so it accepts connections from the first moment), killed
// and reaped when the object goes.
class LocalScoreService {
public:
    explicit LocalScoreService(const std::string& mode, const std::string& seed = "[]") {
        record_ = testsupport::TempDir();
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t size = sizeof address;
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 16) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            ADD_FAILURE() << "no loopback socket";
            if (listener >= 0) ::close(listener);
            return;
        }
        port_ = ntohs(address.sin_port);
        // Only the pipe's write end goes to the service.
        int ready[2];
        if (::pipe2(ready, O_CLOEXEC) != 0 || ::fcntl(ready[1], F_SETFD, 0) != 0) {
            ADD_FAILURE() << "no pipe";
            ::close(listener);
            return;
        }
        const char* tools = std::getenv("ZANDROVIA_TEST_TOOLS");
        const std::string script = std::string(tools ? tools : "tests/tools") + "/scoreservice.py";
        std::vector<std::string> args = {"python3", script, "--fd", std::to_string(listener),
                                         "--ready-fd", std::to_string(ready[1]), "--mode", mode,
                                         "--seed", seed, "--record", record_};
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "python3", nullptr, nullptr, argv.data(), environ) != 0) {
            ADD_FAILURE() << "python3 could not be started";
            pid_ = -1;
        }
        // The service holds its own copies; nothing else may inherit these.
        ::close(listener);
        ::close(ready[1]);
        // Blocks until the service is about to serve (or has died: end of file).
        char line[8];
        if (pid_ > 0 && ::read(ready[0], line, sizeof line) <= 0) ADD_FAILURE() << "the score service did not start";
        ::close(ready[0]);
    }
    ~LocalScoreService() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    LocalScoreService(const LocalScoreService&) = delete;
    LocalScoreService& operator=(const LocalScoreService&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/game/index.php"; }

    // The downloads (GET requests) answered so far.
    int Gets() const {
        int gets = 0;
        for (;; ++gets) {
            char name[32];
            std::snprintf(name, sizeof name, "get-%04d", gets + 1);
            if (!platform::TryLoadString(record_ + name)) return gets;
        }
    }

    // The bodies of the posts received so far, byte for byte, in order.
    std::vector<std::string> Posts() const {
        std::vector<std::string> posts;
        for (int i = 1;; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "post-%04d.json", i);
            const std::optional<std::string> body = platform::TryLoadString(record_ + name);
            if (!body) return posts;
            posts.push_back(*body);
        }
    }

private:
    std::string record_;
    int port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace testsupport
