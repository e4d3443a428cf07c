// The general pasteboard: its image kept in the home's file for a later launch, strings,
// a file that cannot be written or read, and writers on several threads.
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIPasteboard.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace {

std::shared_ptr<UIImage> solidImage(uint32_t colour, size_t width = 6, size_t height = 4) {
    return UIImage::imageWithCGImage(makeImage(width, height,
                                               CGImagePixelFormat::ARGB32Premultiplied,
                                               [colour](size_t, size_t) { return colour; }));
}

class UIPasteboardTest : public testing::Test {
protected:
    std::string imageFile() const {
        return stringByAppendingPathComponent(home.path(), UIPasteboard::kImageFileName);
    }
    TestHome home;
    CapturedLog log;
};

TEST_F(UIPasteboardTest, TheImageIsKeptInTheHomeForTheNextLaunch) {
    EventLog::clear();
    const auto pasteboard = UIPasteboard::generalPasteboard();
    EXPECT_FALSE(pasteboard->image());
    const auto image = solidImage(0xff336699);
    ASSERT_TRUE(pasteboard->setImage(image));
    EXPECT_EQ(pasteboard->image(), image);
    EXPECT_EQ(EventLog::entries(), std::vector<std::string>{"saved: " + imageFile()});
    const auto written = UIImage::imageWithContentsOfFile(imageFile());
    ASSERT_TRUE(written);
    EXPECT_EQ(pixelsOf(*written->cgImage()), pixelsOf(*image->cgImage()));

    // Another home has its own, empty pasteboard; back in this one, as at a second launch,
    // the image is read from its file.
    {
        TempFolder other;
        NSSetHomeDirectory(other.path());
        EXPECT_FALSE(UIPasteboard::generalPasteboard()->image());
    }
    NSSetHomeDirectory(home.path());
    const auto relaunched = UIPasteboard::generalPasteboard();
    EXPECT_NE(relaunched, pasteboard);
    ASSERT_TRUE(relaunched->image());
    EXPECT_EQ(pixelsOf(*relaunched->image()->cgImage()), pixelsOf(*image->cgImage()));

    // A string replaces the image, file and all; so does a null image.
    relaunched->setString("hello");
    EXPECT_EQ(relaunched->string(), "hello");
    EXPECT_FALSE(relaunched->image());
    EXPECT_FALSE(std::filesystem::exists(imageFile()));
    relaunched->setImage(image);
    EXPECT_FALSE(relaunched->string());
    EXPECT_TRUE(relaunched->setImage(nullptr));
    EXPECT_FALSE(relaunched->image());
    EXPECT_FALSE(std::filesystem::exists(imageFile()));
}

TEST_F(UIPasteboardTest, AFileThatCannotBeWrittenOrReadIsReportedNotFatal) {
    // A folder where the file should be: the write fails, the old contents stay.
    std::filesystem::create_directory(imageFile());
    std::filesystem::create_directory(imageFile() + "/kept");
    EventLog::clear();
    const auto pasteboard = UIPasteboard::generalPasteboard();
    EXPECT_FALSE(pasteboard->image());
    const auto image = solidImage(0xffff0000);
    EXPECT_FALSE(pasteboard->setImage(image));
    EXPECT_FALSE(pasteboard->image()) << "a failed copy leaves the pasteboard as it was";
    EXPECT_TRUE(EventLog::entries().empty());
    EXPECT_TRUE(std::filesystem::exists(imageFile() + "/kept"));
    EXPECT_FALSE(log.lines().empty());

    // A corrupt file gives an empty pasteboard at the next launch.
    std::filesystem::remove_all(imageFile());
    NSData::writeToFileAtomically({'n', 'o', 't', ' ', 'p', 'n', 'g'}, imageFile());
    {
        TempFolder other;
        NSSetHomeDirectory(other.path());
        UIPasteboard::generalPasteboard();
    }
    NSSetHomeDirectory(home.path());
    EXPECT_FALSE(UIPasteboard::generalPasteboard()->image());
}

TEST_F(UIPasteboardTest, WritersOnSeveralThreadsLeaveOneWholeImage) {
    const uint32_t colours[] = {0xffff0000, 0xff00ff00, 0xff0000ff, 0xffffffff};
    std::vector<std::thread> writers;
    for (uint32_t colour : colours) {
        writers.emplace_back([colour] {
            for (int i = 0; i < 5; ++i) {
                UIPasteboard::generalPasteboard()->setImage(solidImage(colour));
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    // The file holds the image the pasteboard holds, not a mix of two.
    const auto held = UIPasteboard::generalPasteboard()->image();
    const auto written = UIImage::imageWithContentsOfFile(imageFile());
    ASSERT_TRUE(held);
    ASSERT_TRUE(written);
    EXPECT_EQ(pixelsOf(*written->cgImage()), pixelsOf(*held->cgImage()));
}

} // namespace
