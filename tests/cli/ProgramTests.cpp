// The program as a user runs it: a real process on a real home folder.
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/uikit/UIImage.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/support/LoopbackStore.h"
#include "tests/support/PhotoFixtures.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mixphotos-cli-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
        home_ = dir_ / "home";
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path writeScript(const std::string& text, const std::string& name = "scenario.txt") {
        fs::path path = dir_ / name;
        std::ofstream(path) << text;
        return path;
    }

    // `environment` goes before the program ("LC_ALL=C"). Unless the arguments name them,
    // the store and the ad server are a closed loopback port: nothing leaves the machine,
    // not even a name lookup.
    ProgramRun run(const std::string& arguments, const std::string& environment = "") {
        fs::path out = dir_ / "out.txt", err = dir_ / "err.txt";
        std::string services;
        for (const char* option : {"--store-url", "--ad-server"}) {
            if (arguments.find(option) == std::string::npos) {
                services += std::string(option) +
                            " http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) +
                            " ";
            }
        }
        std::string command = environment + " '" + MP_PROGRAM_PATH + "' " + services + arguments +
                              " > '" + out.string() + "' 2> '" + err.string() + "'";
        int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
    }

    // A bundled scenario (empty: the default one) played on the demo's library in small, a
    // "nature" album of `photos` photos (the real one, Debian's photographs, is what `make
    // run` installs and uses); its shots land in dir_ / "shots".
    ProgramRun playDemo(const std::string& scenario, int photos) {
        fs::path library = dir_ / "library";
        for (int i = 0; i < photos; ++i) {
            writeBytes((library / "nature" / ("photo" + std::to_string(i) + ".jpg")).string(),
                       photoJpeg(64, 48));
        }
        std::string arguments = "--home '" + home_.string() + "' --library '" + library.string() +
                                "' --shots '" + (dir_ / "shots").string() + "'";
        if (!scenario.empty()) {
            arguments += " --script '" +
                         (fs::path(MP_PROGRAM_PATH).parent_path() / "demo" / scenario).string() +
                         "'";
        }
        return run(arguments);
    }

    ProgramRun runScript(const std::string& script) {
        return run("--home '" + home_.string() + "' --script '" + writeScript(script).string() +
                   "'");
    }

    fs::path dir_;
    fs::path home_;
};

TEST_F(ProgramTest, TheFirstLaunchCountsTheMainMenusAppearance) {
    ProgramRun result = runScript("defaults\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("RatePromptEventCount = 1"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("RatePromptUseCount = 1"), std::string::npos);
}

TEST_F(ProgramTest, LaunchShowsTheMainMenuAndSeedsTheBackgroundKeys) {
    ProgramRun result = runScript("config\nscreens\ntree\ndefaults\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("UINavigationController\n  MainViewController\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("config viewAppearUntilShowInterstitialAd = 20"), std::string::npos);
    EXPECT_NE(result.out.find("screen: MainViewController"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("<UIWindow; frame = (0 0; 375 667)>"), std::string::npos);
    EXPECT_NE(result.out.find("backGrandSelected = 0"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("backImageSelected = nothing"), std::string::npos);
}

TEST_F(ProgramTest, ASecondLaunchKeepsStoredValues) {
    ProgramRun first = runScript("defaults\n");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    // Change the seeded values as the background chooser would, then launch again.
    fs::path prefs = home_ / "Library" / "Preferences" / "com.mixphotos.collage.plist";
    auto stored = NSPropertyListSerialization::propertyListWithContentsOfFile(prefs, nullptr);
    ASSERT_TRUE(stored && stored->dictionary());
    auto values = *stored->dictionary();
    values["backGrandSelected"] = "7";
    values["backImageSelected"] = "bg3.png";
    values["keyCurrVersionShangXian"] = true;
    auto data = NSPropertyListSerialization::dataWithPropertyList(
        PlistValue(values), NSPropertyListFormat::Binary, nullptr);
    ASSERT_TRUE(data && NSData::writeToFileAtomically(*data, prefs));

    ProgramRun second = runScript("relaunch\ndefaults\n");
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_NE(second.out.find("backGrandSelected = 7"), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("backImageSelected = bg3.png"), std::string::npos);
    EXPECT_NE(second.out.find("keyCurrVersionShangXian = 1"), std::string::npos);
    // The use count goes on across the relaunch: stored state is read back, not reset.
    EXPECT_NE(second.out.find("RatePromptUseCount = 3"), std::string::npos) << second.out;
}

TEST_F(ProgramTest, CorruptPreferencesAreMovedAsideNotLost) {
    fs::path prefsDir = home_ / "Library" / "Preferences";
    fs::create_directories(prefsDir);
    fs::path prefs = prefsDir / "com.mixphotos.collage.plist";
    std::ofstream(prefs) << "<?xml version=\"1.0\"?><plist><dict><key>trunc";
    ProgramRun result = runScript("defaults\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("backGrandSelected = 0"), std::string::npos);
    EXPECT_TRUE(fs::exists(prefsDir / "com.mixphotos.collage.plist.corrupt"));
    EXPECT_EQ(readFile(prefsDir / "com.mixphotos.collage.plist.corrupt"),
              "<?xml version=\"1.0\"?><plist><dict><key>trunc");
}

TEST_F(ProgramTest, BadScenariosAndOptionsStopWithExitCodeTwo) {
    struct Case {
        std::string arguments;
        std::string message;
    };
    fs::path unknown = dir_ / "unknown.txt";
    std::ofstream(unknown) << "# fine\nwait 0\nfly away\n";
    fs::path malformed = dir_ / "malformed.txt";
    std::ofstream(malformed) << "wait\n";
    fs::path quote = dir_ / "quote.txt";
    std::ofstream(quote) << "tree \"open\n";
    const Case cases[] = {
        {"--script '" + unknown.string() + "'", "line 3: unknown command 'fly'"},
        {"--script '" + malformed.string() + "'", "line 1: usage: wait SECONDS"},
        {"--script '" + quote.string() + "'", quote.string() + ": line 1: unterminated quote"},
        {"--script '" + writeScript("wait abc\n", "a.txt").string() + "'",
         "line 1: 'abc' is not a number"},
        {"--script '" + writeScript("tree\nwait 1x\n", "b.txt").string() + "'",
         "line 2: '1x' is not a number"},
        {"--script '" + writeScript("wait -1\n", "c.txt").string() + "'",
         "line 1: '-1' cannot be negative"},
        {"--script '" + (dir_ / "missing.txt").string() + "'", "cannot read the scenario"},
        {"--script '" + dir_.string() + "'", "cannot read the scenario"},
        {"--script '" + writeScript("wait 1e9\n", "d.txt").string() + "'",
         "line 1: '1e9' is longer than 60 seconds"},
        {"--script '" + writeScript("shot ok\nshot \"a/b\"\n", "e.txt").string() + "'",
         "line 2: a screenshot name is a plain file name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        ProgramRun result = run("--home '" + home_.string() + "' " + c.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

TEST_F(ProgramTest, MalformedOptionsStopWithExitCodeTwo) {
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"--screen 12", "--screen: wants WxH@S (for example 375x667@2), not: 12"},
        {"--screen 375x", "--screen: wants WxH@S (for example 375x667@2), not: 375x"},
        // Not-a-number and infinity are no sizes, though they read as numbers.
        {"--screen 375x667@nan", "--screen: wants WxH@S (for example 375x667@2), not: "
                                 "375x667@nan"},
        {"--screen nanxnan@2", "--screen: wants WxH@S (for example 375x667@2), not: nanxnan@2"},
        {"--screen infx667", "--screen: wants WxH@S (for example 375x667@2), not: infx667"},
        {"--screen 0x667", "--screen: wants sides of 1 to 10000 points and a scale of 1 to 4, "
                           "not: 0x667"},
        {"--screen 375x667@5", "--screen: wants sides of 1 to 10000 points and a scale of 1 to "
                               "4, not: 375x667@5"},
        // Sizes the renderer cannot draw a screenshot or a shared picture at.
        {"--screen 5000x5000@3", "--screen: 5000x5000@3 is more pixels than a screenshot can be "
                                 "drawn in (at most 32767 a side and 100000000 in all)"},
        {"--screen 9000x100@4", "--screen: 9000x100@4 is more pixels than"},
        {"--photos-access maybe",
         "--photos-access: wants granted, denied, restricted or ask, not: maybe"},
        {"--home", "--home: 1 required DIR missing"},
        {"--shots ''", "--shots: needs a value"},
        {"--bogus 1", "--bogus"},
        {"stray", "The following argument was not expected: stray"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        ProgramRun result = run("--home '" + home_.string() + "' " + c.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.rfind("mixphotos: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("Try 'mixphotos --help' for more information.\n"),
                  std::string::npos);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(fs::exists(home_)) << "nothing starts on a malformed command line";
}

TEST_F(ProgramTest, HelpAndVersionAnswerAndExitZero) {
    const std::string home = "--home '" + home_.string() + "' ";
    for (const char* help : {"--help", "-h"}) {
        SCOPED_TRACE(help);
        ProgramRun result = run(home + help);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_NE(result.out.find("Usage: mixphotos [OPTIONS]"), std::string::npos) << result.out;
        // Every option, with what it is for before the next option.
        const std::pair<const char*, const char*> options[] = {
            {"--home DIR", "The app's home"},
            {"--library DIR", "The photo library"},
            {"--photos-access granted|denied|restricted|ask", "read the photo library"},
            {"--screen WxH@S", "size in points"},
            {"--script FILE", "The scenario to play"},
            {"--shots DIR", "Where screenshots go"},
            {"--store-url URL", "lookup service"},
            {"--ad-server URL", "The ad server"},
            {"--version", "Print the version"},
        };
        for (const auto& [option, explanation] : options) {
            const size_t at = result.out.find(std::string("\n  ") + option);
            ASSERT_NE(at, std::string::npos) << option << "\n" << result.out;
            EXPECT_TRUE(std::isspace(result.out[at + 3 + std::strlen(option)])) << option;
            const size_t next = result.out.find("\n  -", at + 1);
            EXPECT_LT(result.out.find(explanation, at), next) << option;
        }
        EXPECT_NE(result.out.find("Exit status: 0"), std::string::npos);
    }
    ProgramRun version = run(home + "--version");
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "mixphotos 1.9\n");
    EXPECT_FALSE(fs::exists(home_)) << "an answer starts nothing";
}

TEST_F(ProgramTest, TouchesAndScreenChecksPlayInTheRunningApp) {
    ProgramRun passing =
        runScript("tap-at 100 100\ndrag 10 10 200 300 0.1\nexpect-screen MainViewController\n");
    EXPECT_EQ(passing.exitCode, 0) << passing.err;

    // A failed check stops the scenario there, naming its line.
    ProgramRun failing = runScript("expect-screen MainViewController\ntap \"Nowhere\"\nscreens\n");
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_NE(failing.err.find("scenario line 2: no view labelled \"Nowhere\" can be tapped"),
              std::string::npos)
        << failing.err;
    EXPECT_EQ(failing.out.find("UINavigationController\n"), std::string::npos) << failing.out;
}

TEST_F(ProgramTest, TheMainMenuOnASmallScreen) {
    fs::path shots = dir_ / "shots";
    ProgramRun result =
        run("--home '" + home_.string() + "' --screen 320x568@2 --shots '" + shots.string() +
            "' --script '" + writeScript("tree\nshot small\n").string() + "'");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The buttons' frames: x 110, tops at 568 / 5.5 + 130 i.
    EXPECT_NE(result.out.find("<UIButton; frame = (110 103.273; 100 100)"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("<UIButton; frame = (110 363.273; 100 100)"), std::string::npos);
    auto shot = UIImage::imageWithContentsOfFile((shots / "small.png").string());
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->cgImage()->width(), 640u);
}

TEST_F(ProgramTest, ARefusedPhotoLibraryShowsTheDenialAlert) {
    fs::path shots = dir_ / "shots";
    fs::path script = fs::path(MP_PROGRAM_PATH).parent_path() / "demo" / "denied.scenario";
    ProgramRun result = run("--home '" + home_.string() + "' --photos-access denied --script '" +
                            script.string() + "' --shots '" + shots.string() + "'");
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    const std::string alert = "alert: You disabled access, please go to Settings-> "
                              "Privacy->Photos to set up access [OK]";
    size_t first = result.out.find(alert);
    ASSERT_NE(first, std::string::npos) << result.out;
    EXPECT_NE(result.out.find(alert, first + 1), std::string::npos); // both buttons
    EXPECT_EQ(result.out.find("ImagePickerViewController"), std::string::npos);
    EXPECT_TRUE(fs::exists(shots / "denied.png"));
}

TEST_F(ProgramTest, TheSecondLaunchAsksForARatingFromTheStoreGiven) {
    LoopbackStore store;
    ASSERT_TRUE(store.start());
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9")});
    // One use and one event on the first launch; the second use brings the alert.
    fs::path script = writeScript("event\nrelaunch\nevent\nwait 1\nalert \"No, Thanks\"\n"
                                  "defaults\n");
    ProgramRun result = run("--home '" + home_.string() + "' --script '" + script.string() +
                                "' --store-url " + store.baseURL(),
                            "LC_ALL=C LANGUAGE=");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string alert =
        "alert: Rate MixPhotos: If you enjoy using MixPhotos, would you mind taking a moment to "
        "rate it? It won’t take more than a minute. Thanks for your support! "
        "[Rate It Now | No, Thanks]\n";
    size_t shown = result.out.find(alert);
    ASSERT_NE(shown, std::string::npos) << result.out;
    EXPECT_EQ(result.out.find(alert, shown + 1), std::string::npos) << "shown twice";
    EXPECT_NE(result.out.find("alert-button: No, Thanks\n", shown), std::string::npos);
    // The app's delegate restarted both counts and forgot the decline.
    EXPECT_NE(result.out.find("RatePromptUseCount = 0\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("RatePromptEventCount = 0\n"), std::string::npos);
    EXPECT_EQ(result.out.find("RatePromptDeclinedVersion"), std::string::npos);
    auto requests = store.requests();
    ASSERT_FALSE(requests.empty());
    for (const auto& request : requests) {
        EXPECT_EQ(request, "/US/lookup?id=1187402256");
    }
}

TEST_F(ProgramTest, TheMainMenusAppearanceBringsTheRatingAlertOnTheSecondLaunch) {
    LoopbackStore store;
    ASSERT_TRUE(store.start());
    store.setAnswer({200, LoopbackStore::appAnswer("com.mixphotos.collage", "1.9")});
    // Only the app's own doings: the main menu's appearances log the events.
    fs::path script = writeScript("wait 1\nrelaunch\nwait 1\nalert \"Rate It Now\"\ndefaults\n");
    ProgramRun result = run("--home '" + home_.string() + "' --script '" + script.string() +
                                "' --store-url " + store.baseURL(),
                            "LC_ALL=C LANGUAGE=");
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    size_t alert = result.out.find("alert: Rate MixPhotos:");
    ASSERT_NE(alert, std::string::npos) << result.out;
    // Not on the first launch: the alert comes after the relaunch's menu appeared.
    size_t firstMenu = result.out.find("screen: MainViewController");
    size_t secondMenu = result.out.find("screen: MainViewController", firstMenu + 1);
    ASSERT_NE(secondMenu, std::string::npos);
    EXPECT_GT(alert, secondMenu);
    EXPECT_NE(result.out.find("open-url: itms-apps://", alert), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("RatePromptRatedVersionChecked = 1.9"), std::string::npos);
}

TEST_F(ProgramTest, ServiceURLsMustBeServiceBases) {
    for (const char* option : {"--store-url", "--ad-server"}) {
        for (const char* url : {"store.example", "ftp://127.0.0.1:80", "http://127.0.0.1:80/path",
                                "https://store.example/?q=1", "http://store.example:80",
                                "https://user@store.example"}) {
            SCOPED_TRACE(std::string(option) + " " + url);
            ProgramRun result = run("--home '" + home_.string() + "' " + option + " '" + url + "'");
            EXPECT_EQ(result.exitCode, 2);
            EXPECT_NE(result.err.find(std::string(option) +
                                      ": wants scheme://host[:port] (https, or http on a"),
                      std::string::npos)
                << result.err;
        }
    }
}

TEST_F(ProgramTest, TheBundledDemoRunsWithoutAScript) {
    ProgramRun result = playDemo("", 6);
    const fs::path shots = dir_ / "shots";
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("screen: MainViewController"), std::string::npos);
    EXPECT_NE(result.out.find("alert: Remind info: You can choose 5 photos at most"),
              std::string::npos);
    EXPECT_NE(result.out.find("screen: MixPhotosEditViewController"), std::string::npos);
    // The settings screen has nothing to show yet: the demo does not go there.
    EXPECT_EQ(result.out.find("screen: SettingsViewController"), std::string::npos);
    EXPECT_FALSE(fs::exists(shots / "settings.png"));
    for (const char* name : {"launch.png", "tip.png", "picker-dropdown.png", "picker-grid.png",
                             "picker-five.png", "picker-alert.png", "picker-four.png"}) {
        auto shot = UIImage::imageWithContentsOfFile((shots / name).string());
        ASSERT_TRUE(shot) << name;
        EXPECT_EQ(shot->cgImage()->width(), 750u);
        EXPECT_EQ(shot->cgImage()->height(), 1334u);
    }
    // The saved collage: the collage area (375 x 453 points) at the screen's scale.
    auto saved = UIImage::imageWithContentsOfFile((home_ / "Album" / "IMG_0001.png").string());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->cgImage()->width(), 750u);
    EXPECT_EQ(saved->cgImage()->height(), 906u);
}

// The program against our ad server, running in this process.
class AdProgramTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_EQ(server_.error(), "");
    }
    ProgramRun runScriptWithAds(const std::string& script) {
        return run("--home '" + home_.string() + "' --ad-server " + server_.baseURL() +
                   " --script '" + writeScript(script).string() + "'");
    }

    RunningAdServer server_;
};

// One ad load of a scenario through the real engine: the core page is fetched and loaded,
// answers the ad URL for request id 1, and the load ends with the (empty) ad received.
TEST_F(AdProgramTest, AnAdLoadLogsItsRoadToItsEnd) {
    ProgramRun result = runScriptWithAds("ad-load banner 320x50 default\nwait 10\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const std::string& line :
         {std::string("ad: load default banner 320x50\n"), std::string("ad: core page loaded\n"),
          "ad: request 1 answered with ad URL " + server_.baseURL() + "/ads?",
          std::string("ad: received default banner 320x50\n")}) {
        EXPECT_NE(result.out.find(line), std::string::npos) << line << " in:\n" << result.out;
    }
    bool corePageFetched = false;
    for (const auto& hit : server_.hits()) {
        corePageFetched =
            corePageFetched ||
            (hit["path"] == "/zmads/static/sdk/native/sdk-core-v40.html" && hit["status"] == 200);
    }
    EXPECT_TRUE(corePageFetched);
}

// The ad URL is fetched for real: an empty answer ends the load with the no-fill error,
// and a unit's ad is fetched from the server before it is received.
TEST_F(AdProgramTest, TheFetchedAnswerDecidesTheLoadsEnd) {
    ProgramRun result = runScriptWithAds(
        "ad-load banner 320x50 empty\nwait 10\nad-load banner 320x50 settings\nwait 10\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("ad: failed empty: error 1 Request Error: No ad to show.\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("ad: received settings banner 320x50\n"), std::string::npos)
        << result.out;
    int adsFetched = 0;
    for (const auto& hit : server_.hits()) {
        adsFetched += hit["path"] == "/ads" && hit["status"] == 200;
    }
    EXPECT_EQ(adsFetched, 2);
}

// What the engine sent reaches the server in the ad URL's query: the device's and the
// application's facts and the statistics that count requests within one session; the ad
// fetch goes out with the User-Agent of the engine's web views.
TEST_F(AdProgramTest, TheAdRequestCarriesTheDevicesAndTheApplicationsFacts) {
    ProgramRun result = runScriptWithAds(
        "ad-load banner 320x50 default\nwait 10\nad-load banner 320x50 default\nwait 10\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto header = [](const nlohmann::json& hit, const std::string& name) {
        for (const auto& [key, value] : hit["headers"].items()) {
            if (strcasecmp(key.c_str(), name.c_str()) == 0 && value.is_string()) {
                return value.get<std::string>();
            }
        }
        return std::string();
    };
    std::string pageUserAgent;
    std::vector<nlohmann::json> fetches;
    for (const auto& hit : server_.hits()) {
        if (hit["path"] == "/zmads/static/sdk/native/sdk-core-v40.html" && pageUserAgent.empty()) {
            pageUserAgent = header(hit, "User-Agent");
        }
        if (hit["path"] == "/ads") {
            fetches.push_back(hit);
        }
    }
    ASSERT_EQ(fetches.size(), 2u);
    ASSERT_FALSE(pageUserAgent.empty());
    std::string session;
    for (size_t i = 0; i < fetches.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& query = fetches[i]["query"];
        EXPECT_EQ(header(fetches[i], "User-Agent"), pageUserAgent);
        EXPECT_EQ(query.value("slotname", ""), "default");
        // The scenario's slot has no owner listing sizes: the size travels as the frame.
        EXPECT_FALSE(query.contains("sz"));
        EXPECT_TRUE(nlohmann::json::parse(query.value("ad_frame", ""), nullptr, false).is_object())
            << query.dump();
        EXPECT_EQ(query.value("u_w", ""), "375");
        EXPECT_EQ(query.value("u_h", ""), "667");
        EXPECT_EQ(query.value("u_sd", ""), "2");
        EXPECT_EQ(query.value("u_so", ""), "p");
        EXPECT_EQ(query.value("app_name", ""), "19.iphone.com.mixphotos.collage");
        EXPECT_EQ(query.value("platform", ""), "iPhone");
        EXPECT_EQ(query.value("js", ""), "rozu-sdk-i-v7.8.1");
        const auto signals = nlohmann::json::parse(query.value("quality_signals", "{}"));
        const auto& app = signals["app"];
        EXPECT_EQ(app["seq_num"], static_cast<int>(i + 1));
        EXPECT_EQ(app["preqs"], static_cast<int>(i));
        ASSERT_TRUE(app["session_id"].is_string());
        if (session.empty()) {
            session = app["session_id"].get<std::string>();
        }
        EXPECT_EQ(app["session_id"], session) << "one session for the run";
    }
    EXPECT_FALSE(session.empty());
    EXPECT_EQ(session.find_first_not_of("0123456789"), std::string::npos);
    // By the second request the ad server's host has been found reachable.
    EXPECT_EQ(fetches[1]["query"].value("net", ""), "wi");
}

TEST_F(AdProgramTest, AScenarioThatEndsBeforeItsAdLoadFails) {
    ProgramRun result = runScriptWithAds("ad-load interstitial page-silent\n");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("scenario end: ad loads that have not ended: page-silent "
                              "(interstitial)"),
              std::string::npos)
        << result.err;
}

TEST_F(ProgramTest, TheFreeCollageDemoSavesTheEditedCanvas) {
    ProgramRun result = playDemo("free.scenario", 6);
    const fs::path shots = dir_ / "shots";
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    for (const char* screen : {"DavuVovEditViewController", "BackImageChooseViewController",
                               "_PEImageEditorViewController"}) {
        EXPECT_NE(result.out.find(std::string("screen: ") + screen), std::string::npos) << screen;
    }
    EXPECT_TRUE(fs::exists(shots / "free-filtered.png"));
    // The canvas (355 x 543 points) at the screen's scale, as the editor saved it.
    auto saved = UIImage::imageWithContentsOfFile((home_ / "Album" / "IMG_0001.png").string());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->cgImage()->width(), 710u);
    EXPECT_EQ(saved->cgImage()->height(), 1086u);
}
// The tools' demo ends with the canvas turned a little by the rotate tool: the saved
// picture is the turned canvas's bounding box, larger both ways, its corners transparent.
TEST_F(ProgramTest, TheToolsDemoSavesThePictureEveryToolChanged) {
    ProgramRun result = playDemo("tools.scenario", 2);
    const fs::path shots = dir_ / "shots";
    ASSERT_EQ(result.exitCode, 0) << result.err << result.out;
    for (const char* shot :
         {"tools-adjustment", "tools-effect-spot", "tools-effect-hue", "tools-effect-bloom",
          "tools-blur", "tools-rotate", "tools-tonecurve"}) {
        EXPECT_TRUE(fs::exists(shots / (std::string(shot) + ".png"))) << shot;
    }
    auto saved = UIImage::imageWithContentsOfFile((home_ / "Album" / "IMG_0001.png").string());
    ASSERT_TRUE(saved);
    EXPECT_GT(saved->cgImage()->width(), 710u);
    EXPECT_GT(saved->cgImage()->height(), 1086u);
    EXPECT_EQ(saved->cgImage()->pixelAt(0, 0) >> 24, 0u);
}
} // namespace
