// ad-server: our ad server on the loopback, for the app, its scenarios and people trying
// the ad engine. Prints "listening on URL" once it accepts connections; stops on SIGINT
// or SIGTERM.
#include "adserver/AdServer.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {
std::filesystem::path programDirectory() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
}
} // namespace

int main(int argc, char** argv) {
    const auto home = programDirectory();
    int port = 0;
    AdServer::Configuration configuration{home / "site", home / "inventory", {}, "127.0.0.1"};
    CLI::App app("Serves the ad engine's core page, ads from an inventory folder, tracking\n"
                 "and report endpoints, on 127.0.0.1.",
                 "ad-server");
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--port", port, "The port; 0 (the default) picks a free one")
        ->check(CLI::Range(0, 65535));
    app.add_option("--inventory", configuration.inventory,
                   "The inventory folder (manifest.json and creatives).\nDefault: " +
                       configuration.inventory.string())
        ->type_name("DIR");
    app.add_option("--hits", configuration.hits,
                   "Appends one JSON line per request to FILE. Default: none")
        ->type_name("FILE");
    app.footer("Its first line is \"listening on http://127.0.0.1:PORT\".");
    CLI11_PARSE(app, argc, argv);

    auto created = AdServer::create(configuration);
    if (created.hasError()) {
        std::fprintf(stderr, "ad-server: %s\n", created.error()->localizedDescription().c_str());
        return 1;
    }
    auto server = std::move(created).value();
    auto bound = server->bind(port);
    if (bound.hasError()) {
        std::fprintf(stderr, "ad-server: %s\n", bound.error()->localizedDescription().c_str());
        return 1;
    }

    // The signals are taken by a thread of their own (blocked everywhere else, so the
    // server's threads inherit the mask): stopping is then an ordinary call, not a handler's.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&signals, &signal);
        server->stop();
    });

    std::printf("listening on %s\n", server->baseURL().c_str());
    std::fflush(stdout);
    const bool served = server->listen();
    // A server that could not serve wakes the waiting thread itself.
    if (!served) {
        kill(getpid(), SIGTERM);
    }
    stopper.join();
    return served ? 0 : 1;
}
