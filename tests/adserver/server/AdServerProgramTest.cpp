// The ad-server program: its first line names where it listens, it serves there, and a
// signal stops it cleanly; what it cannot start on it says and exits 1.
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {
struct Started {
    pid_t pid = -1;
    FILE* out = nullptr;
};

// Starts the program with its output (both streams) on a pipe.
Started start(std::vector<std::string> arguments) {
    int pipes[2];
    if (::pipe(pipes) != 0) {
        return {};
    }
    arguments.insert(arguments.begin(), MP_AD_SERVER_PATH);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipes[1], 1);
        ::dup2(pipes[1], 2);
        ::close(pipes[0]);
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipes[1]);
    return {pid, ::fdopen(pipes[0], "r")};
}

std::string line(FILE* out) {
    char buffer[512] = {};
    return std::fgets(buffer, sizeof buffer, out) ? buffer : "";
}

int exitStatus(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AdServerProgramTest, PrintsWhereItListensServesAndStopsOnASignal) {
    TempFolder folder;
    for (int signal : {SIGTERM, SIGINT}) {
        auto program = start({"--port", "0", "--hits", folder.file("hits.jsonl")});
        ASSERT_NE(program.out, nullptr);
        const auto first = line(program.out);
        ASSERT_EQ(first.rfind("listening on http://127.0.0.1:", 0), 0u) << first;
        const auto url = first.substr(13, first.size() - 14);
        httplib::Client client(url);
        auto page = client.Get("/zmads/static/sdk/native/sdk-core-v40.html");
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, 200);
        ::kill(program.pid, signal);
        EXPECT_EQ(exitStatus(program.pid), 0) << "signal " << signal;
        std::fclose(program.out);
    }
    EXPECT_NE(TempFolder::read(folder.file("hits.jsonl")).find("sdk-core-v40.html"),
              std::string::npos);
}

TEST(AdServerProgramTest, WhatItCannotStartOnItSaysAndExitsOne) {
    TempFolder folder;
    folder.write("inventory/manifest.json", "{}");
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"--inventory", folder.file("inventory")}, "manifest.json: \"banners\""},
        {{"--inventory", folder.file("missing")}, "cannot read"},
        {{"--hits", folder.file("no/such/folder/hits.jsonl")}, "cannot write the hits file"},
        {{"--port", "70000"}, "--port"},
    };
    for (const auto& c : cases) {
        auto program = start(c.arguments);
        ASSERT_NE(program.out, nullptr);
        std::string output;
        for (std::string next = line(program.out); !next.empty(); next = line(program.out)) {
            output += next;
        }
        std::fclose(program.out);
        EXPECT_NE(exitStatus(program.pid), 0) << output;
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}
} // namespace
