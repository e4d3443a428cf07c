#include "platform/foundation/NSData.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using Bytes = std::vector<uint8_t>;

std::optional<Bytes> readBack(const std::string& path) {
    const auto data = NSData::dataWithContentsOfFile(path);
    return data ? std::optional<Bytes>(std::in_place, data->begin(), data->end()) : std::nullopt;
}

TEST(NSDataTest, ReadsWhatWasWritten) {
    TempFolder folder;
    Bytes bytes(200000);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7);
    }
    std::string path = folder.file("blob.bin");
    ASSERT_TRUE(NSData::writeToFileAtomically(bytes, path));
    EXPECT_EQ(readBack(path), bytes);
    ASSERT_TRUE(NSData::writeToFileAtomically({}, path));
    EXPECT_EQ(readBack(path), Bytes{});
    // Nothing is left beside the file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(NSDataTest, AFileReportingNoSizeIsReadToItsEnd) {
    // The kernel's files report a size of 0 and hold text all the same.
    const auto status = NSData::dataWithContentsOfFile("/proc/self/status");
    ASSERT_TRUE(status.has_value());
    const std::string text(status->begin(), status->end());
    EXPECT_EQ(text.rfind("Name:", 0), 0u) << text.substr(0, 40);
    EXPECT_NE(text.find("\nVmPeak:"), std::string::npos);
    // The buffer was sized for nothing and grown: only what was read is kept.
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST(NSDataTest, UnreadablePlacesGiveNothing) {
    TempFolder folder;
    EXPECT_FALSE(NSData::dataWithContentsOfFile(folder.file("missing")).has_value());
    EXPECT_FALSE(NSData::dataWithContentsOfFile(folder.path()).has_value());
    EXPECT_FALSE(NSData::dataWithContentsOfFile("").has_value());
}

TEST(NSDataTest, FailedWriteLeavesTheOldFileAndNoLeftovers) {
    TempFolder folder;
    // The target is a folder: the rename fails after the data was written beside it.
    std::filesystem::create_directory(folder.file("taken"));
    EXPECT_FALSE(NSData::writeToFileAtomically({1, 2, 3}, folder.file("taken")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken")));
    // The folder does not exist: nothing can be written.
    EXPECT_FALSE(NSData::writeToFileAtomically({1}, folder.file("no/such/file")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    std::string path = folder.write("keep.txt", "old");
    std::filesystem::permissions(path, std::filesystem::perms(0600));
    ASSERT_TRUE(NSData::writeToFileAtomically({'n', 'e', 'w'}, path));
    EXPECT_EQ(TempFolder::read(path), "new");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0600));
}

} // namespace
