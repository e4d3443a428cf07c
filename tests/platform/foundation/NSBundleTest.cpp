#include "platform/foundation/NSBundle.h"

#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSLog.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::string stringsFile(const std::string& entries) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries +
           "</dict></plist>\n";
}

// A bundle with English, German and Base localisations, an Info.plist and a few resources.
class NSBundleTest : public testing::Test {
protected:
    void SetUp() override {
        folder_.write("App.app/Info.plist",
                      stringsFile("<key>CFBundleIdentifier</key><string>com.example.app</string>"
                                  "<key>CFBundleVersion</key><string>2.1</string>"));
        folder_.write("App.app/icon.png", "png");
        folder_.write("App.app/layouts/grid.plist", "<plist><array/></plist>");
        folder_.write("App.app/en.lproj/Localizable.strings",
                      stringsFile("<key>Hello</key><string>Hello</string>"
                                  "<key>Bye</key><string>Bye</string>"));
        folder_.write("App.app/de.lproj/Localizable.strings",
                      stringsFile("<key>Hello</key><string>Hallo</string>"
                                  "<key>Number</key><integer>3</integer>"));
        folder_.write("App.app/de.lproj/Menu.strings", stringsFile("<key>Open</key><string>\xC3\x96"
                                                                   "ffnen</string>"));
        folder_.write("App.app/de.lproj/Broken.strings", "<plist><dict><key>");
        folder_.write("App.app/de.lproj/flag.png", "de");
        folder_.write("App.app/Base.lproj/Main.strings",
                      stringsFile("<key>T</key><string>Base</string>"));
        bundle_ = NSBundle::bundleWithPath(folder_.file("App.app"));
        ASSERT_TRUE(bundle_);
        NSLocale::setOverride("de_DE", {"de-DE", "en"});
    }
    void TearDown() override {
        NSLocale::clearOverride();
        NSLogSetSink(nullptr);
    }

    TempFolder folder_;
    std::shared_ptr<NSBundle> bundle_;
};

TEST_F(NSBundleTest, LocalisationFollowsThePreferredLanguages) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(bundle_->localizations(), (Names{"Base", "de", "en"}));
    struct Case {
        Names languages;
        Names expected;
    };
    const Case cases[] = {
        {{"de-DE", "en"}, {"de"}},
        {{"fr-FR", "en-GB"}, {"en"}},
        {{"fr"}, {"en"}},
        {{"Base"}, {"Base"}},
    };
    for (const auto& c : cases) {
        NSLocale::setOverride("xx", c.languages);
        EXPECT_EQ(bundle_->preferredLocalizations(), c.expected) << c.languages[0];
    }
}

TEST_F(NSBundleTest, StringTables) {
    struct Case {
        const char* key;
        const char* value;
        const char* table;
        const char* expected;
    };
    const Case cases[] = {
        {"Hello", "", "", "Hallo"},
        {"Hello", "", "Localizable", "Hallo"},
        {"Bye", "", "", "Bye"},                          // missing in German: no mixing of tables
        {"Bye", "Tsch\xC3\xBCss", "", "Tsch\xC3\xBCss"}, // the given value stands in
        {"Number", "", "", "Number"},                    // not text
        {"Open", "", "Menu",
         "\xC3\x96"
         "ffnen"},
        {"T", "", "Main", "Base"}, // only in Base.lproj
        {"Open", "", "Missing", "Open"},
        {"Open", "", "Broken", "Open"},
    };
    std::vector<std::string> log;
    NSLogSetSink([&](const std::string& line) { log.push_back(line); });
    for (const auto& c : cases) {
        EXPECT_EQ(bundle_->localizedStringForKeyValueTable(c.key, c.value, c.table), c.expected)
            << c.key << " in " << c.table;
    }
    // The broken table is reported once, then served from the cache.
    EXPECT_EQ(log.size(), 1u);
    NSLocale::setOverride("en_US", {"en-US"});
    EXPECT_EQ(bundle_->localizedStringForKeyValueTable("Bye", "", ""), "Bye");
}

TEST_F(NSBundleTest, BundleOpenedAtALocalisationFolderServesItsTables) {
    auto german = NSBundle::bundleWithPath(folder_.file("App.app/de.lproj"));
    ASSERT_TRUE(german);
    NSLocale::setOverride("en_US", {"en-US"});
    EXPECT_EQ(german->localizedStringForKeyValueTable("Hello", "", ""), "Hallo");
    EXPECT_EQ(german->localizedStringForKeyValueTable("Bye", "fallback", ""), "fallback");
    // Localised folders come before the root.
    folder_.write("App.app/Localizable.strings",
                  stringsFile("<key>Hello</key><string>Root</string>"));
    auto app = NSBundle::bundleWithPath(folder_.file("App.app"));
    EXPECT_EQ(app->localizedStringForKeyValueTable("Hello", "", ""), "Hello");
}

TEST_F(NSBundleTest, ResourcesAndInfo) {
    const std::string root = folder_.file("App.app");
    EXPECT_EQ(bundle_->bundlePath(), root);
    EXPECT_EQ(bundle_->pathForResourceOfType("icon", "png"), root + "/icon.png");
    EXPECT_EQ(bundle_->pathForResourceOfType("icon.png", ""), root + "/icon.png");
    EXPECT_EQ(bundle_->pathForResourceOfType("flag", "png"), root + "/de.lproj/flag.png");
    EXPECT_EQ(bundle_->pathForResourceOfTypeInDirectory("grid", "plist", "layouts"),
              root + "/layouts/grid.plist");
    EXPECT_EQ(bundle_->pathForResourceOfType("grid", "plist"), "");
    EXPECT_EQ(bundle_->pathForResourceOfType("nothing", "png"), "");

    EXPECT_EQ(bundle_->bundleIdentifier(), "com.example.app");
    EXPECT_EQ(bundle_->objectForInfoDictionaryKey("CFBundleVersion"), PlistValue("2.1"));
    EXPECT_TRUE(bundle_->objectForInfoDictionaryKey("Missing").isNull());
    EXPECT_EQ(NSBundle::bundleWithPath(folder_.file("App.app/icon.png")), nullptr);
    EXPECT_EQ(NSBundle::bundleWithPath(folder_.file("none")), nullptr);

    // A bundle whose Info.plist is damaged still works, without identity.
    folder_.write("Other.app/Info.plist", "bplist00 damaged");
    std::vector<std::string> log;
    NSLogSetSink([&](const std::string& line) { log.push_back(line); });
    auto other = NSBundle::bundleWithPath(folder_.file("Other.app"));
    EXPECT_TRUE(other->infoDictionary().empty());
    EXPECT_EQ(other->bundleIdentifier(), "");
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(NSBundleTest, MainBundleServesLocalizedString) {
    NSBundle::setMainBundlePath(folder_.file("App.app/"));
    EXPECT_EQ(NSBundle::mainBundle()->bundlePath(), folder_.file("App.app"));
    EXPECT_EQ(NSBundle::mainBundle(), NSBundle::mainBundle());
    EXPECT_EQ(NSLocalizedString("Hello", "greeting"), "Hallo");
    EXPECT_EQ(NSLocalizedString("Unknown", ""), "Unknown");
}

} // namespace
