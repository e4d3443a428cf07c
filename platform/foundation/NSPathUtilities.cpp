#include "platform/foundation/NSPathUtilities.h"

#include "platform/foundation/NSLog.h"

#include <filesystem>
#include <mutex>

namespace {

std::mutex& homeMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& homePath() {
    static std::string path;
    return path;
}

// Sets the home; the caller holds the mutex.
void setHome(const std::string& path) {
    std::error_code error;
    std::filesystem::path home = std::filesystem::absolute(path, error).lexically_normal();
    if (error) {
        home = path;
    }
    std::string text = home.string();
    if (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    homePath() = text;
    for (const char* folder :
         {"", "Library", "Library/Preferences", "Library/Caches", "Documents", "tmp"}) {
        std::filesystem::create_directories(home / folder, error);
        if (error) {
            NSLog("Cannot create %@: %@", (home / folder).string(), error.message());
        }
    }
}

} // namespace

std::string NSHomeDirectory() {
    std::lock_guard lock(homeMutex());
    if (homePath().empty()) {
        setHome("home");
    }
    return homePath();
}

void NSSetHomeDirectory(const std::string& path) {
    std::lock_guard lock(homeMutex());
    setHome(path);
}

void NSHomeDirectoryResetForTesting() {
    std::lock_guard lock(homeMutex());
    homePath().clear();
}

std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             NSSearchPathDomainMask domains,
                                                             bool expandTilde) {
    if (!(domains & NSUserDomainMask)) {
        return {};
    }
    const char* relative = directory == NSDocumentDirectory ? "Documents"
                           : directory == NSCachesDirectory ? "Library/Caches"
                                                            : "Library";
    return {stringByAppendingPathComponent(expandTilde ? NSHomeDirectory() : "~", relative)};
}

std::string NSTemporaryDirectory() {
    return stringByAppendingPathComponent(NSHomeDirectory(), "tmp") + "/";
}

std::string stringByAppendingPathComponent(const std::string& base, const std::string& component) {
    std::string joined =
        base.empty() || component.empty() ? base + component : base + "/" + component;
    std::string out;
    for (char c : joined) {
        if (c == '/' && !out.empty() && out.back() == '/') {
            continue;
        }
        out += c;
    }
    if (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}
