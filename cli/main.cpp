// mixphotos: starts the collage app headless on a home folder and a photo library, plays
// a scenario (the bundled demo by default) and exits when it ends.
#include "app/AppClasses.h"
#include "app/RZCommonConfig.h"
#include "app/categories/UIView+UIViewx.h"
#include "cli/ProgramOptions.h"
#include "harness/ScenarioRunner.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "services/advertise/AdServerHost.h"
#include "services/advertise/ScenarioAdLoads.h"
#include "services/rateprompt/RatePrompt.h"

#include <cstdio>
#include <filesystem>

namespace {
int badInvocation(const std::string& message) {
    std::fprintf(stderr, "mixphotos: %s\nTry 'mixphotos --help' for more information.\n",
                 message.c_str());
    return ScenarioRunner::kExitBadScenario;
}

// The app's version, as its bundle gives it.
std::string bundleVersion() {
    const auto version =
        NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleShortVersionString");
    return version.string() ? *version.string() : "(no version: the app bundle is missing)";
}

std::filesystem::path programDirectory() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
}

void printConfiguration() {
    auto config = RZCommonConfig::shareInstance();
    std::string devices;
    for (const auto& device : config->adTestDevices()) {
        devices += (devices.empty() ? "" : ", ") + device;
    }
    const std::pair<const char*, std::string> lines[] = {
        {"liteAppId", config->liteAppId()},
        {"proAppId", config->proAppId()},
        {"fadebackEmail", config->fadebackEmail()},
        {"artistId", config->artistId()},
        {"adTestDevices", devices},
        {"shouldShowMoreAppsInSettings", config->shouldShowMoreAppsInSettings() ? "YES" : "NO"},
        {"shouldShowFullscreenAdFromBackgroundToForeground",
         config->shouldShowFullscreenAdFromBackgroundToForeground() ? "YES" : "NO"},
        {"enableBannerViewAnimation", config->enableBannerViewAnimation() ? "YES" : "NO"},
        {"viewAppearUntilPromptRate", std::to_string(config->viewAppearUntilPromptRate())},
        {"viewAppearUntilShowInterstitialAd",
         std::to_string(config->viewAppearUntilShowInterstitialAd())},
        {"vazerBannerAdID", config->vazerBannerAdID()},
        {"vazerInterstitialAdID", config->vazerInterstitialAdID()},
        {"vazerNativeExpressAdID", config->vazerNativeExpressAdID()},
    };
    for (const auto& [name, value] : lines) {
        std::printf("config %s = %s\n", name, value.c_str());
    }
    std::fflush(stdout);
}

// Commands that read the app's own state, beside the harness's built-in ones.
void addAppCommands(ScenarioRunner& runner) {
    runner.addCommand("config", {0, 0, "config", [](const auto&, ScenarioRunner::Next next, auto) {
                                     printConfiguration();
                                     next();
                                 }});
    // A significant event of the rating prompt, as a base screen's appearance logs it.
    runner.addCommand("event", {0, 0, "event", [](const auto&, ScenarioRunner::Next next, auto) {
                                    RatePrompt::sharedInstance()->logEvent(false);
                                    next();
                                }});
    runner.addCommand(
        "tip", {1, 1, "tip TEXT", [](const auto& arguments, ScenarioRunner::Next next, auto) {
                    RZCommonConfig::shareInstance()->showTipViewWithMessage(arguments[0]);
                    next();
                }});
    // One ad load through a slot of its own; the scenario goes on while it runs, and fails
    // at its end if the load has not ended by then.
    runner.addCommand(
        "ad-load", {2, 3, ScenarioAdLoads::kUsage,
                    [](const auto& arguments, ScenarioRunner::Next next, auto fail) {
                        if (auto started = ScenarioAdLoads::sharedInstance()->startLoad(arguments);
                            started.hasError()) {
                            fail(started.error()->localizedDescription());
                            return;
                        }
                        next();
                    },
                    &ScenarioAdLoads::checkArguments});
    runner.addEndCheck([] { return ScenarioAdLoads::sharedInstance()->checkEveryLoadEnded(); });
    runner.addCommand("tree", {0, 0, "tree", [](const auto&, ScenarioRunner::Next next, auto fail) {
                                   auto window = UIApplication::sharedApplication()->keyWindow();
                                   if (!window) {
                                       fail("there is no key window");
                                       return;
                                   }
                                   std::fputs(UIViewx::recursiveDescription(*window).c_str(),
                                              stdout);
                                   std::fflush(stdout);
                                   next();
                               }});
}
} // namespace

int main(int argc, char** argv) {
    auto parsed = ProgramOptions::parse(argc, argv, bundleVersion());
    if (parsed.hasError()) {
        return badInvocation(parsed.error()->localizedDescription());
    }
    if (!parsed.value().answer.empty()) {
        std::fputs(parsed.value().answer.c_str(), stdout);
        return 0;
    }
    const auto options = std::make_shared<const ProgramOptions>(std::move(parsed).value());
    std::string scriptPath = options->script.empty()
                                 ? (programDirectory() / "demo" / "main.scenario").string()
                                 : options->script;
    auto script = ScenarioScript::load(scriptPath);
    if (script.hasError()) {
        return badInvocation(script.error()->localizedDescription());
    }
    ScenarioRunner runner(
        {options->shots, options->resumeAtLine, [options](int line) { options->relaunch(line); }});
    addAppCommands(runner);
    if (auto valid = runner.validate(script.value()); valid.hasError()) {
        return badInvocation(scriptPath + ": " + valid.error()->localizedDescription());
    }

    std::error_code ec;
    std::filesystem::create_directories(options->home, ec);
    if (!std::filesystem::is_directory(options->home)) {
        return badInvocation("cannot use " + options->home + " as the home folder");
    }
    NSSetHomeDirectory(options->home);
    PHPhotoLibrary::configure(options->library, options->photosAccess);
    UIScreen::configureMainScreen(options->screen.size, options->screen.scale);
    if (!options->storeURL.empty()) {
        RatePrompt::sharedInstance()->storeLookup()->setBaseURL(options->storeURL);
    }
    auto adServer = AdServerHost::sharedInstance();
    if (!options->adServerURL.empty()) {
        adServer->setBaseURL(options->adServerURL);
    }
    adServer->checkOnce([](const std::string& message) {
        std::fprintf(stderr, "mixphotos: %s\n", message.c_str());
    });
    EventLog::setPrintsToStandardOutput(true);
    registerAppClasses();
    runner.startAfterLaunch(std::move(script).value());
    return UIApplicationMain(argc, argv, "", NSStringFromClass("AppDelegate"));
}
