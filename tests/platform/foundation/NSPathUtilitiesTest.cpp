#include "platform/foundation/NSPathUtilities.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(NSPathUtilitiesTest, HomeIsCreatedWithItsStandardFolders) {
    TempFolder folder;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    NSSetHomeDirectory("user/./home/");
    std::filesystem::current_path(previous);

    const std::string home = folder.file("user/home");
    EXPECT_EQ(NSHomeDirectory(), home);
    for (const char* sub : {"Library/Preferences", "Library/Caches", "Documents", "tmp"}) {
        EXPECT_TRUE(std::filesystem::is_directory(home + "/" + sub)) << sub;
    }
    using Paths = std::vector<std::string>;
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSLibraryDirectory, NSUserDomainMask, true),
              Paths{home + "/Library"});
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true),
              Paths{home + "/Library/Caches"});
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, false),
              Paths{"~/Documents"});
    EXPECT_EQ(NSTemporaryDirectory(), home + "/tmp/");
}

TEST(NSPathUtilitiesTest, AppendingPathComponents) {
    struct Case {
        const char* base;
        const char* component;
        const char* expected;
    };
    const Case cases[] = {
        {"/a", "b", "/a/b"},    {"/a/", "b", "/a/b"},
        {"/a", "/b/", "/a/b"},  {"", "b", "b"},
        {"/", "b", "/b"},       {"/a", "", "/a"},
        {"a//b", "c", "a/b/c"}, {"/a", "b/c.png", "/a/b/c.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stringByAppendingPathComponent(c.base, c.component), c.expected)
            << c.base << " + " << c.component;
    }
}

} // namespace
