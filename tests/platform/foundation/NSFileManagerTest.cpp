#include "platform/foundation/NSFileManager.h"

#include "platform/foundation/NSError.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Names = std::vector<std::string>;

TEST(NSFileManagerTest, ListsEveryEntryOfAFolderInByteOrder) {
    TempFolder folder;
    for (const char* name : {"b.png", "A.png", ".hidden", "notes.txt", "sub/inner.png"}) {
        folder.write(name, "x");
    }
    std::filesystem::create_symlink("b.png", folder.file("link"));
    std::shared_ptr<NSError> error;
    const auto names =
        NSFileManager::defaultManager()->contentsOfDirectoryAtPathError(folder.path(), &error);
    ASSERT_TRUE(names);
    EXPECT_FALSE(error);
    // Only the folder's own level: the sub-folder by its name, not its contents.
    EXPECT_EQ(*names, (Names{".hidden", "A.png", "b.png", "link", "notes.txt", "sub"}));

    TempFolder empty;
    EXPECT_EQ(
        NSFileManager::defaultManager()->contentsOfDirectoryAtPathError(empty.path(), nullptr),
        Names{});
}

TEST(NSFileManagerTest, WhatIsNoFolderGivesNoListAndSaysWhy) {
    TempFolder folder;
    const std::string file = folder.write("picture.png", "x");
    struct Case {
        std::string path;
        long code;
    };
    for (const auto& c :
         {Case{folder.file("missing"), NSFileReadNoSuchFileError},
          Case{file, NSFileReadUnknownError}, Case{"", NSFileReadNoSuchFileError}}) {
        SCOPED_TRACE(c.path);
        std::shared_ptr<NSError> error;
        EXPECT_FALSE(
            NSFileManager::defaultManager()->contentsOfDirectoryAtPathError(c.path, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), c.code);
        EXPECT_NE(error->localizedDescription().find(c.path), std::string::npos);
        // The error is optional.
        EXPECT_FALSE(
            NSFileManager::defaultManager()->contentsOfDirectoryAtPathError(c.path, nullptr));
    }
}

} // namespace
