#include "cli/ProgramOptions.h"

#include "platform/foundation/NSURL.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
// The answers --photos-access takes, by name.
constexpr std::pair<const char*, PHAccessAnswer> kAccessAnswers[] = {
    {"granted", PHAccessAnswer::Granted},
    {"denied", PHAccessAnswer::Denied},
    {"restricted", PHAccessAnswer::Restricted},
    {"ask", PHAccessAnswer::Ask},
};

// The answers' names joined: "granted|denied|restricted|ask" with "|", or
// "granted, denied, restricted or ask" with ", " and a last " or ".
std::string accessAnswerNames(const std::string& separator, const std::string& last) {
    std::string names;
    const size_t count = std::size(kAccessAnswers);
    for (size_t i = 0; i < count; ++i) {
        names += (i == 0 ? "" : i + 1 == count ? last : separator) + kAccessAnswers[i].first;
    }
    return names;
}

bool parseNumber(std::string_view text, double& value) {
    if (text.empty()) {
        return false;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}
} // namespace

bool ProgramOptions::parseScreen(const std::string& text, CGSize& size, double& scale) {
    auto x = text.find('x');
    if (x == std::string::npos) {
        return false;
    }
    auto at = text.find('@', x);
    std::string_view view(text);
    double width = 0, height = 0, s = 2.0;
    if (!parseNumber(view.substr(0, x), width) ||
        !parseNumber(view.substr(x + 1, at == std::string::npos ? std::string::npos : at - x - 1),
                     height) ||
        (at != std::string::npos && !parseNumber(view.substr(at + 1), s))) {
        return false;
    }
    if (width < 1 || height < 1 || width > 10000 || height > 10000 || s < 1 || s > 4) {
        return false;
    }
    size = CGSizeMake(width, height);
    scale = s;
    return true;
}

bool ProgramOptions::isServiceBaseURL(const std::string& text) {
    auto url = NSURL::URLWithString(text);
    if (!url || url->host().empty() || !url->query().empty() || !url->fragment().empty()) {
        return false;
    }
    std::string path = url->path();
    std::string scheme = url->scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    bool https = scheme == "https";
    // Plain http only on this machine's loopback; no user names in a service address.
    bool http = scheme == "http" && url->isLoopbackHost();
    return (https || http) && (path.empty() || path == "/") && text.find('@') == std::string::npos;
}

std::string ProgramOptions::usage() {
    return "usage: mixphotos [--home DIR] [--library DIR] [--photos-access " +
           accessAnswerNames("|", "|") +
           "]\n"
           "                 [--screen WxH@S] [--script FILE] [--shots DIR] [--store-url URL]\n";
}

void ProgramOptions::relaunch(int resumeAtLine) const {
    setenv(kResumeVariable, std::to_string(resumeAtLine).c_str(), 1);
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (auto& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    std::perror("relaunch");
}

ErrorOr<ProgramOptions> ProgramOptions::parse(int argc, char** argv) {
    const auto malformed = [](const std::string& why) {
        return makeError(kErrorDomain, kErrorMalformedOption, why);
    };
    ProgramOptions options;
    // A relaunch tells the new process where the scenario goes on; the variable is read
    // once and cleared, so it never reaches a process started later.
    if (const char* resume = std::getenv(kResumeVariable)) {
        double line = 0;
        if (parseNumber(resume, line) && line >= 1) {
            options.resumeAtLine = static_cast<int>(line);
        }
        unsetenv(kResumeVariable);
    }
    for (int i = 0; i < argc; ++i) {
        options.arguments.emplace_back(argv[i]);
    }
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (i + 1 >= argc) {
            return malformed(option.rfind("--", 0) != 0 ? "unexpected argument: " + option
                                                        : "option " + option + " needs a value");
        }
        std::string value = argv[++i];
        if (option == "--home") {
            options.home = value;
        } else if (option == "--library") {
            options.library = value;
        } else if (option == "--photos-access") {
            const auto* answer =
                std::find_if(std::begin(kAccessAnswers), std::end(kAccessAnswers),
                             [&](const auto& entry) { return value == entry.first; });
            if (answer == std::end(kAccessAnswers)) {
                return malformed("--photos-access wants " + accessAnswerNames(", ", " or ") +
                                 ", not: " + value);
            }
            options.photosAccess = answer->second;
        } else if (option == "--script") {
            options.script = value;
        } else if (option == "--shots") {
            options.shots = value;
        } else if (option == "--screen") {
            if (!parseScreen(value, options.screenSize, options.screenScale)) {
                return malformed("--screen wants WxH@S (for example 375x667@2), not: " + value);
            }
        } else if (option == "--store-url") {
            if (!isServiceBaseURL(value)) {
                return malformed(
                    "--store-url wants scheme://host[:port] (https, or http on a loopback "
                    "host), not: " +
                    value);
            }
            options.storeURL = value;
        } else {
            return malformed("unknown option: " + option);
        }
        if (value.empty()) {
            return malformed("option " + option + " needs a value");
        }
    }
    return options;
}
