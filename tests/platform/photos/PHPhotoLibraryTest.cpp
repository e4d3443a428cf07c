#include "platform/photos/PHPhotoLibrary.h"

#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/photos/PHImageManager.h"
#include "tests/support/PhotoFixtures.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

namespace {

using Status = PHAuthorizationStatus;

class PHPhotoLibraryTest : public testing::Test {
protected:
    ~PHPhotoLibraryTest() override { PHPhotoLibrary::configure("", PHAccessAnswer::Ask); }

    // The statuses the handlers of `count` requests answer, stepping the global queues.
    std::vector<Status> request(int count = 1) {
        std::vector<Status> answers;
        for (int i = 0; i < count; ++i) {
            PHPhotoLibrary::requestAuthorization([&](Status status) { answers.push_back(status); });
        }
        environment_.runUntilIdle();
        return answers;
    }

    TaskEnvironment environment_{TaskEnvironment::GlobalQueues::Manual};
    TestHome home_;
};

TEST_F(PHPhotoLibraryTest, TheFirstRequestIsAnsweredAsConfiguredAndRemembered) {
    const struct {
        PHAccessAnswer answer;
        Status expected;
    } cases[] = {
        {PHAccessAnswer::Granted, Status::Authorized},
        {PHAccessAnswer::Ask, Status::Authorized},
        {PHAccessAnswer::Denied, Status::Denied},
        {PHAccessAnswer::Restricted, Status::Restricted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        TestHome home;
        PHPhotoLibrary::configure("/photos", c.answer);
        EXPECT_EQ(PHPhotoLibrary::libraryFolder(), "/photos");
        EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::NotDetermined)
            << "configuring asks nothing";
        EXPECT_EQ(request(2), (std::vector<Status>{c.expected, c.expected}));
        EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), c.expected);

        // Once decided, another configured answer changes nothing.
        PHPhotoLibrary::configure("/photos", c.expected == Status::Authorized
                                                 ? PHAccessAnswer::Denied
                                                 : PHAccessAnswer::Granted);
        EXPECT_EQ(request(), std::vector<Status>{c.expected});
        EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), c.expected);
    }
}

TEST_F(PHPhotoLibraryTest, TheAnswerLastsAcrossARelaunchOutsideTheAppsDefaults) {
    PHPhotoLibrary::configure("", PHAccessAnswer::Denied);
    EXPECT_EQ(request(), std::vector<Status>{Status::Denied});

    home_.relaunchDefaults();
    PHPhotoLibrary::configure("", PHAccessAnswer::Granted);
    EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::Denied);
    EXPECT_EQ(request(), std::vector<Status>{Status::Denied});
    EXPECT_TRUE(std::filesystem::is_regular_file(home_.path() + "/Library/PhotosAccess.plist"));
    EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->dictionaryRepresentation().empty());

    TestHome otherHome;
    EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::NotDetermined)
        << "the answer belongs to the home";
}

TEST_F(PHPhotoLibraryTest, ADamagedAccessFileCountsAsNotAskedYet) {
    std::vector<std::string> log;
    NSLogSetSink([&](const std::string& line) { log.push_back(line); });
    const std::string damaged = "<plist><dict><key>";
    writeBytes(home_.path() + "/Library/PhotosAccess.plist", {damaged.begin(), damaged.end()});
    EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::NotDetermined);
    EXPECT_EQ(request(), std::vector<Status>{Status::Authorized});
    EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::Authorized);
    NSLogSetSink(nullptr);
    EXPECT_FALSE(log.empty());
}

TEST_F(PHPhotoLibraryTest, AnAnswerTheHomeCannotKeepHoldsForThisRunAndSaysSo) {
    std::vector<std::string> log;
    NSLogSetSink([&](const std::string& line) { log.push_back(line); });
    // Where the answer would be written, a folder: no file can be written there.
    std::filesystem::create_directories(home_.path() + "/Library/PhotosAccess.plist/x");
    EXPECT_TRUE(PHPhotoLibrary::authorizationIsKept()) << "nothing lost before a question";
    EXPECT_EQ(request(), std::vector<Status>{Status::Authorized});
    EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::Authorized);
    EXPECT_FALSE(PHPhotoLibrary::authorizationIsKept());
    EXPECT_EQ(request(), std::vector<Status>{Status::Authorized}) << "not asked again";
    NSLogSetSink(nullptr);
    EXPECT_FALSE(log.empty());

    TestHome otherHome;
    EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::NotDetermined)
        << "the answer belongs to the home";
    EXPECT_TRUE(PHPhotoLibrary::authorizationIsKept());
}

TEST_F(PHPhotoLibraryTest, ALibraryFolderThatCannotBeShownIsNamedInItsError) {
    TempFolder folder;
    const std::string file = folder.write("photos.jpg", "not a folder");
    const struct {
        std::string library;
        std::string message; // empty: no error
    } cases[] = {
        {"", ""},
        {folder.path(), ""},
        {folder.file("missing"),
         "The photo library folder " + folder.file("missing") + " does not exist."},
        {file, "The photo library " + file + " is a file, not a folder."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        PHPhotoLibrary::configure(c.library, PHAccessAnswer::Granted);
        const auto error = PHPhotoLibrary::libraryFolderError();
        if (c.message.empty()) {
            EXPECT_FALSE(error);
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), PHPhotosErrorDomain);
        EXPECT_EQ(error->code(), PHPhotosErrorLibraryFolderUnavailable);
        EXPECT_EQ(error->localizedDescription(), c.message);
    }
}

TEST_F(PHPhotoLibraryTest, TheHandlerRunsOnAGlobalQueue) {
    bool answered = false;
    PHPhotoLibrary::requestAuthorization([&](Status) { answered = true; });
    environment_.runMainLoopUntilIdle();
    EXPECT_FALSE(answered) << "not on the main queue";
    EXPECT_EQ(PHPhotoLibrary::authorizationStatus(), Status::NotDetermined)
        << "decided when the question is answered";
    GlobalThreadPool::shared().runAllTasks();
    EXPECT_TRUE(answered);
}

TEST(PHPhotoLibraryThreadTest, TheHandlerRunsOffTheMainThread) {
    TaskEnvironment environment;
    TestHome home;
    std::optional<bool> onMain;
    PHPhotoLibrary::requestAuthorization([&](Status) { onMain = NSThread::isMainThread(); });
    environment.runUntilIdle();
    ASSERT_TRUE(onMain.has_value());
    EXPECT_FALSE(*onMain);
}

} // namespace
