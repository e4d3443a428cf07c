#include "platform/foundation/NSUserDefaults.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"

#include "tests/platform/foundation/BinaryPlistBuilder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <thread>

namespace {

namespace fs = std::filesystem;

// A fresh home and a bundle named "com.example.prefs", so the defaults live in a known file.
class NSUserDefaultsTest : public testing::Test {
protected:
    void SetUp() override {
        folder_.write("App.app/Info.plist",
                      "<plist><dict><key>CFBundleIdentifier</key><string>com.example.prefs</string>"
                      "</dict></plist>");
        NSBundle::setMainBundlePath(folder_.file("App.app"));
        NSSetHomeDirectory(folder_.file("home"));
        NSUserDefaults::resetForTesting();
        NSLogSetSink([this](const std::string& line) { log_.push_back(line); });
    }
    void TearDown() override {
        NSUserDefaults::resetForTesting();
        NSLogSetSink(nullptr);
    }

    std::string preferencesFolder() const { return folder_.file("home/Library/Preferences"); }
    std::string preferencesFile() const { return preferencesFolder() + "/com.example.prefs.plist"; }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(preferencesFolder())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder folder_;
    std::vector<std::string> log_;
};

TEST_F(NSUserDefaultsTest, ValuesPersistAcrossARelaunch) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults, NSUserDefaults::standardUserDefaults());
    EXPECT_TRUE(defaults->objectForKey("missing").isNull());
    defaults->setBoolForKey(true, "flag");
    defaults->setIntegerForKey(-9000000000, "count");
    defaults->setFloatForKey(0.25f, "volume");
    defaults->setDoubleForKey(0.1, "ratio");
    defaults->setObjectForKey("hello", "name");
    defaults->setObjectForKey(PlistValue::Array{1, "two"}, "list");
    defaults->setObjectForKey(1, "gone");
    defaults->removeObjectForKey("gone");
    defaults->setObjectForKey("x", "alsoGone");
    defaults->setObjectForKey(PlistValue(), "alsoGone");
    ASSERT_TRUE(defaults->synchronize());

    NSUserDefaults::resetForTesting();
    auto relaunched = NSUserDefaults::standardUserDefaults();
    EXPECT_NE(relaunched, defaults);
    EXPECT_TRUE(relaunched->boolForKey("flag"));
    EXPECT_EQ(relaunched->integerForKey("count"), -9000000000);
    EXPECT_EQ(relaunched->floatForKey("volume"), 0.25f);
    EXPECT_EQ(relaunched->doubleForKey("ratio"), 0.1);
    EXPECT_EQ(relaunched->stringForKey("name"), "hello");
    EXPECT_EQ(relaunched->objectForKey("list"), PlistValue(PlistValue::Array{1, "two"}));
    EXPECT_EQ(relaunched->dictionaryRepresentation().size(), 6u);
    EXPECT_TRUE(relaunched->objectForKey("gone").isNull());
    EXPECT_TRUE(log_.empty());
}

TEST_F(NSUserDefaultsTest, ReadsConvertLoosely) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey("42", "text");
    defaults->setObjectForKey(2.5, "real");
    defaults->setObjectForKey(PlistValue::Array{}, "list");
    EXPECT_EQ(defaults->integerForKey("text"), 42);
    EXPECT_TRUE(defaults->boolForKey("text"));
    EXPECT_EQ(defaults->stringForKey("real"), "2.5");
    EXPECT_EQ(defaults->integerForKey("real"), 2);
    EXPECT_EQ(defaults->stringForKey("list"), "");
    EXPECT_FALSE(defaults->boolForKey("missing"));
    EXPECT_EQ(defaults->doubleForKey("missing"), 0.0);
}

TEST_F(NSUserDefaultsTest, WritesOnlyWhatChanged) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    // Nothing changed yet: no file is made.
    EXPECT_TRUE(defaults->synchronize());
    EXPECT_FALSE(fs::exists(preferencesFile()));
    defaults->setIntegerForKey(1, "a");
    ASSERT_TRUE(defaults->synchronize());
    fs::remove(preferencesFile());
    // Setting the same value again is no change.
    defaults->setIntegerForKey(1, "a");
    EXPECT_TRUE(defaults->synchronize());
    EXPECT_FALSE(fs::exists(preferencesFile()));
}

TEST_F(NSUserDefaultsTest, DamagedFilesAreKeptAsideAndDefaultsStartEmpty) {
    auto valid = NSPropertyListSerialization::dataWithPropertyList(
        PlistValue::Dictionary{{"key", "value"}}, NSPropertyListFormat::Binary, nullptr);
    ASSERT_TRUE(valid.has_value());
    const std::string truncated(valid->begin(), valid->begin() + 20);
    // Nested 200,000 deep (megabytes): reading or freeing it would overflow the stack, on
    // every launch, until it is moved aside.
    const auto nestedBinary = BinaryPlistBuilder::nestedArrays(200000);
    std::string nestedXML = "<plist>";
    for (int i = 0; i < 200000; ++i) {
        nestedXML += "<array>";
    }
    const std::string damaged[] = {
        "this is not a property list",
        truncated,
        "<plist><array><integer>1</integer></array></plist>", // not a dictionary
        std::string(nestedBinary.begin(), nestedBinary.end()),
        nestedXML,
    };
    std::vector<std::string> expected = {"com.example.prefs.plist"};
    for (const auto& contents : damaged) {
        folder_.write("home/Library/Preferences/com.example.prefs.plist", contents);
        NSUserDefaults::resetForTesting();
        auto defaults = NSUserDefaults::standardUserDefaults();
        EXPECT_TRUE(defaults->dictionaryRepresentation().empty());
        // Writing new settings never overwrites the damaged file's copy.
        defaults->setObjectForKey("fresh", "key");
        ASSERT_TRUE(defaults->synchronize());
        expected.push_back(expected.size() == 1 ? "com.example.prefs.plist.corrupt"
                                                : "com.example.prefs.plist.corrupt." +
                                                      std::to_string(expected.size() - 1));
        EXPECT_EQ(TempFolder::read(preferencesFolder() + "/" + expected.back()), contents);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderEntries(), expected);
    EXPECT_EQ(log_.size(), 2 * std::size(damaged)); // each: what was wrong, and where it was kept
}

// Two hundred thousand settings load whole, and the launch's save of one more keeps them.
TEST_F(NSUserDefaultsTest, ManySettingsLoadAndSave) {
    const int count = 200000;
    PlistValue::Dictionary many;
    for (int i = 0; i < count; ++i) {
        many.emplace_hint(many.end(), "key" + std::to_string(i), i);
    }
    auto data = NSPropertyListSerialization::dataWithPropertyList(
        many, NSPropertyListFormat::Binary, nullptr);
    ASSERT_TRUE(data.has_value());
    folder_.write("home/Library/Preferences/com.example.prefs.plist",
                  std::string(data->begin(), data->end()));

    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->dictionaryRepresentation().size(), size_t{count});
    EXPECT_EQ(defaults->integerForKey("key0"), 0);
    EXPECT_EQ(defaults->integerForKey("key199999"), 199999);
    defaults->setIntegerForKey(1, "launches");
    ASSERT_TRUE(defaults->synchronize());

    NSUserDefaults::resetForTesting();
    auto relaunched = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(relaunched->dictionaryRepresentation().size(), size_t{count + 1});
    EXPECT_EQ(relaunched->integerForKey("key123456"), 123456);
    EXPECT_EQ(relaunched->integerForKey("launches"), 1);
    EXPECT_TRUE(log_.empty());
}

TEST_F(NSUserDefaultsTest, FailedWriteKeepsTheOldFile) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey("old", "key");
    ASSERT_TRUE(defaults->synchronize());
    const std::string before = TempFolder::read(preferencesFile());

    // The preferences folder disappears and its name is taken by a file.
    fs::rename(preferencesFolder(), folder_.file("saved"));
    folder_.write("home/Library/Preferences", "in the way");
    defaults->setObjectForKey("new", "key");
    EXPECT_FALSE(defaults->synchronize());
    EXPECT_EQ(log_.size(), 1u);

    // With the folder back the unsaved change is still pending and gets written.
    fs::remove(preferencesFolder());
    fs::rename(folder_.file("saved"), preferencesFolder());
    EXPECT_EQ(TempFolder::read(preferencesFile()), before);
    EXPECT_TRUE(defaults->synchronize());
    NSUserDefaults::resetForTesting();
    EXPECT_EQ(NSUserDefaults::standardUserDefaults()->stringForKey("key"), "new");
}

TEST_F(NSUserDefaultsTest, TargetTakenByAFolderFailsCleanly) {
    fs::create_directories(preferencesFile());
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_TRUE(defaults->dictionaryRepresentation().empty());
    defaults->setBoolForKey(true, "flag");
    EXPECT_FALSE(defaults->synchronize());
    EXPECT_TRUE(fs::is_directory(preferencesFile()));
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"com.example.prefs.plist"}));
}

TEST_F(NSUserDefaultsTest, ConcurrentUseIsSafe) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([defaults, t] {
            for (int i = 0; i < 200; ++i) {
                defaults->setIntegerForKey(i, "key" + std::to_string(t));
                defaults->integerForKey("key" + std::to_string((t + 1) % 4));
                if (i % 50 == 0) {
                    defaults->synchronize();
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    ASSERT_TRUE(defaults->synchronize());
    NSUserDefaults::resetForTesting();
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(NSUserDefaults::standardUserDefaults()->integerForKey("key" + std::to_string(t)),
                  199);
    }
}

} // namespace
