#include "cli/ProgramOptions.h"

#include "platform/foundation/NSURL.h"
#include "platform/graphics/CGContext.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
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

const PHAccessAnswer* accessAnswerNamed(const std::string& name) {
    const auto* found = std::find_if(std::begin(kAccessAnswers), std::end(kAccessAnswers),
                                     [&](const auto& entry) { return name == entry.first; });
    return found == std::end(kAccessAnswers) ? nullptr : &found->second;
}

// The largest side of a screen, in points.
constexpr double kMaxScreenPoints = 10000;

// A finite number making up the whole text ("nan" and "inf" are not).
bool parseNumber(std::string_view text, double& value) {
    if (text.empty()) {
        return false;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// Every option names a folder, a file or a value: an empty one is a mistake.
std::string nonEmpty(const std::string& value) {
    return value.empty() ? "needs a value" : "";
}
} // namespace

ErrorOr<ProgramOptions::Screen> ProgramOptions::parseScreen(const std::string& text) {
    const auto refused = [](const std::string& why) {
        return makeError(kErrorDomain, kErrorMalformedOption, why);
    };
    const auto x = text.find('x');
    const auto at = text.find('@', x == std::string::npos ? 0 : x);
    const std::string_view view(text);
    double width = 0, height = 0, scale = 2.0;
    if (x == std::string::npos || !parseNumber(view.substr(0, x), width) ||
        !parseNumber(view.substr(x + 1, at == std::string::npos ? std::string::npos : at - x - 1),
                     height) ||
        (at != std::string::npos && !parseNumber(view.substr(at + 1), scale))) {
        return refused("wants WxH@S (for example 375x667@2), not: " + text);
    }
    if (!(width >= 1 && width <= kMaxScreenPoints && height >= 1 && height <= kMaxScreenPoints &&
          scale >= 1 && scale <= 4)) {
        return refused("wants sides of 1 to " + std::to_string(int(kMaxScreenPoints)) +
                       " points and a scale of 1 to 4, not: " + text);
    }
    // Every screenshot and every shared picture is drawn at the screen's scale: a screen
    // the renderer cannot draw would fail each of them, later and one by one.
    const size_t pixelWidth = CGContext::pixelsCovering(width, scale);
    const size_t pixelHeight = CGContext::pixelsCovering(height, scale);
    if (!CGContext::canHoldPixels(pixelWidth, pixelHeight)) {
        return refused(text + " is more pixels than a screenshot can be drawn in (at most " +
                       std::to_string(CGContext::kMaxSide) + " a side and " +
                       std::to_string(CGContext::kMaxPixels) + " in all)");
    }
    return Screen{CGSizeMake(width, height), scale};
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

ErrorOr<ProgramOptions> ProgramOptions::parse(int argc, char** argv, const std::string& version) {
    ProgramOptions options;
    // A relaunch tells the new process where the scenario goes on; the variable is read
    // once and cleared, so it never reaches a process started later.
    if (const char* resume = std::getenv(kResumeVariable)) {
        double line = 0;
        if (parseNumber(resume, line) && line >= 1 && line <= INT_MAX) {
            options.resumeAtLine = static_cast<int>(line);
        }
        unsetenv(kResumeVariable);
    }
    for (int i = 0; i < argc; ++i) {
        options.arguments.emplace_back(argv[i]);
    }

    // Descriptions are broken into lines by hand: the help is read on an 80-column terminal.
    CLI::App app("Starts the collage app headless on a home folder and a photo library,\n"
                 "plays a scenario of taps, drags and screenshots, and exits when it ends.",
                 "mixphotos");
    app.set_version_flag("--version", "mixphotos " + version, "Print the version and exit");
    app.set_help_flag("-h,--help", "Print this help and exit");
    // Given twice, an option takes its last value, as most programs do.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.footer("Every screen shown, alert, opened URL and saved file is printed as one line.\n"
               "The scenario's commands are listed in the README.\n"
               "Exit status: 0 when the scenario ends, 1 when a check of the scenario\n"
               "fails, 2 for a malformed option or scenario.");

    const auto text = [&app](const char* name, std::string& value, const std::string& type,
                             const std::string& description) {
        return app.add_option(name, value, description)->type_name(type)->check(nonEmpty);
    };
    text("--home", options.home, "DIR",
         "The app's home (preferences, caches, album,\n"
         "pasteboard); made when missing. Default: home");
    text("--library", options.library, "DIR",
         "The photo library: its folders are albums, the\n"
         "pictures in them the photos. Default:\n" +
             options.library);
    std::string access;
    text("--photos-access", access, accessAnswerNames("|", "|"),
         "How the app's request to read the photo library\n"
         "is answered. Default: ask (grants as a user would)")
        ->check([](const std::string& value) {
            return accessAnswerNamed(value)
                       ? std::string()
                       : "wants " + accessAnswerNames(", ", " or ") + ", not: " + value;
        });
    std::string screen;
    text("--screen", screen, "WxH@S",
         "The screen's size in points (1 to " + std::to_string(int(kMaxScreenPoints)) +
             " a side)\n"
             "and its scale (1 to 4). Default: 375x667@2")
        ->check([&options](const std::string& value) {
            // Kept as it is checked; given twice, the last one stays, as for the others.
            auto parsed = parseScreen(value);
            if (parsed.hasError()) {
                return parsed.error()->localizedDescription();
            }
            options.screen = parsed.value();
            return std::string();
        });
    text("--script", options.script, "FILE",
         "The scenario to play. Default: the bundled\n"
         "demo/main.scenario");
    text("--shots", options.shots, "DIR", "Where screenshots go. Default: shots");
    // Services are reached over https, or plain http on this machine's loopback only.
    const auto serviceBase = [](const std::string& value) {
        return isServiceBaseURL(value)
                   ? std::string()
                   : "wants scheme://host[:port] (https, or http on a loopback host), not: " +
                         value;
    };
    text("--store-url", options.storeURL, "URL",
         "The store's lookup service the rating prompt\n"
         "asks: scheme://host[:port], plain http only on a\n"
         "loopback host. Default: the app's own")
        ->check(serviceBase);
    text("--ad-server", options.adServerURL, "URL",
         "The ad server the ad engine talks to:\n"
         "scheme://host[:port], plain http only on a\n"
         "loopback host. Default: the app's own (without\n"
         "it, or when its host does not resolve, no ads)")
        ->check(serviceBase);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        options.answer = app.help();
        return options;
    } catch (const CLI::CallForVersion& request) {
        options.answer = std::string(request.what()) + "\n";
        return options;
    } catch (const CLI::Error& error) {
        return makeError(kErrorDomain, kErrorMalformedOption, error.what());
    }
    if (!access.empty()) {
        options.photosAccess = *accessAnswerNamed(access);
    }
    return options;
}
