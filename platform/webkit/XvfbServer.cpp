#include "platform/webkit/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

namespace {

constexpr const char* kXvfbErrorDomain = "XvfbServer";
// Xvfb answers within a second on an idle machine; a loaded one may take several.
constexpr int kStartTimeLimitMilliseconds = 20000;

std::shared_ptr<NSError> failure(const std::string& why) {
    return makeError(kXvfbErrorDomain, 1, "cannot start an X server for web views: " + why);
}

// The program's path through PATH, looked up before forking: the child may only make
// calls that are safe after a fork in a threaded process.
std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        auto candidate = std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return {};
}

} // namespace

XvfbServer& XvfbServer::shared() {
    // Destroyed at exit, which ends the server.
    static XvfbServer server;
    return server;
}

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

ErrorOr<std::string> XvfbServer::ensureDisplay() {
    const char* display = std::getenv("DISPLAY");
    if (display && *display) {
        return std::string(display);
    }
    return shared().start();
}

ErrorOr<std::string> XvfbServer::start() {
    if (!display_.empty()) {
        return display_;
    }
    std::string program = findProgram("Xvfb");
    if (program.empty()) {
        return failure("Xvfb is not installed (scripts/install-deps installs it)");
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return failure(std::strerror(errno));
    }
    int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    // The write end is handed to the server only: the child clears its close-on-exec flag.
    std::string fdText = std::to_string(fds[1]);
    std::vector<const char*> argv = {
        program.c_str(), "-displayfd", fdText.c_str(), "-screen",  "0",
        "1920x1080x24",  "-nolisten",  "tcp",          "-noreset", nullptr};
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(1);
        }
        fcntl(fds[1], F_SETFD, 0);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execv(program.c_str(), const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    close(fds[1]);
    if (devNull >= 0) {
        close(devNull);
    }
    if (pid < 0) {
        close(fds[0]);
        return failure(std::strerror(errno));
    }
    pid_ = pid;
    // The display number and a newline, once the server accepts connections.
    std::string answer;
    pollfd reader{.fd = fds[0], .events = POLLIN, .revents = 0};
    while (answer.find('\n') == std::string::npos) {
        int ready = poll(&reader, 1, kStartTimeLimitMilliseconds);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        char buffer[32];
        ssize_t count = ready > 0 ? read(fds[0], buffer, sizeof buffer) : 0;
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        answer.append(buffer, static_cast<size_t>(count));
    }
    close(fds[0]);
    char* end = nullptr;
    long number = std::strtol(answer.c_str(), &end, 10);
    if (answer.empty() || end == answer.c_str() || *end != '\n' || number < 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return failure("Xvfb did not report a display");
    }
    display_ = ":" + std::to_string(number);
    setenv("DISPLAY", display_.c_str(), 1);
    return display_;
}
