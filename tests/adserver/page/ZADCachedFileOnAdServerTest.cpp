// A cached file against our ad server: downloaded into the home's caches folder, dated as
// the server dates it, revalidated with a 304 that leaves it alone, and kept through
// failures.
#include "ads/core/ZADCachedFile.h"
#include "ads/core/ZADCachedFileDelegate.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSURL.h"
#include "tests/adserver/RunningAdServer.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestHome.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

namespace {

class RecordingFileDelegate : public ZADCachedFileDelegate {
public:
    std::shared_ptr<NSError> cachedFileShouldRedirectToURL(ZADCachedFile&,
                                                           const std::shared_ptr<NSURL>&) override {
        ++redirects;
        return redirectRefusal;
    }
    void cachedFileDownloadDidEnd(ZADCachedFile&) override { ++ended; }
    void cachedFileDownloadDidFail(ZADCachedFile&,
                                   const std::shared_ptr<NSError>& failure) override {
        ++failed;
        error = failure;
    }

    std::shared_ptr<NSError> redirectRefusal;
    int redirects = 0;
    int ended = 0;
    int failed = 0;
    std::shared_ptr<NSError> error;
};

class CachedFileOnAdServer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(server.error(), ""); }

    std::shared_ptr<ZADCachedFile> fileFor(const std::string& path) {
        auto file = ZADCachedFile::initWithURL(NSURL::URLWithString(server.baseURL() + path));
        file->setDelegate(delegate);
        return file;
    }
    std::vector<nlohmann::json> hitsOf(const std::string& path) const {
        std::vector<nlohmann::json> found;
        for (const auto& hit : server.hits()) {
            if (hit["path"] == path) {
                found.push_back(hit);
            }
        }
        return found;
    }

    TestHome home;
    TaskEnvironment environment;
    RunningAdServer server;
    std::shared_ptr<RecordingFileDelegate> delegate = std::make_shared<RecordingFileDelegate>();
};

TEST_F(CachedFileOnAdServer, AnUnchangedFileIsRevalidatedWithA304) {
    auto file = fileFor("/static/picture.png");
    ASSERT_TRUE(file->filePath());
    EXPECT_THAT(*file->filePath(),
                ::testing::StartsWith(NSHomeDirectory() + "/Library/Caches/127.0.0.1/"));
    EXPECT_FALSE(file->fileExists());
    file->validate();
    file->validate(); // one download at a time
    environment.runUntilIdle();
    EXPECT_EQ(delegate->ended, 1);
    EXPECT_EQ(file->HTTPStatusCode(), 200);
    ASSERT_TRUE(file->fileExists());
    EXPECT_EQ(TempFolder::read(*file->filePath()),
              TempFolder::read(RunningAdServer::bundled("site") / "picture.png"));
    // The file carries the server's date, written back without its zone.
    const auto lastModified = file->HTTPHeaders().at("Last-Modified");
    const auto dated = file->fileModificationRFC1123DateString();
    ASSERT_TRUE(dated);
    EXPECT_EQ(*dated + " GMT", lastModified);
    const auto written = std::filesystem::last_write_time(*file->filePath());

    file->validate();
    environment.runUntilIdle();
    EXPECT_EQ(delegate->ended, 2);
    EXPECT_EQ(delegate->failed, 0);
    EXPECT_EQ(file->HTTPStatusCode(), 304);
    EXPECT_EQ(std::filesystem::last_write_time(*file->filePath()), written);
    const auto hits = hitsOf("/static/picture.png");
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_FALSE(hits[0]["headers"].contains("If-Modified-Since"));
    EXPECT_EQ(hits[1]["headers"].value("If-Modified-Since", ""), *dated);
    EXPECT_EQ(hits[1]["status"], 304);
}

TEST_F(CachedFileOnAdServer, ACacheBusterGoesIntoTheQueryAndFreshAnswersAreAskedForGood) {
    auto file = fileFor("/static/picture.png");
    EXPECT_EQ(file->cachePolicy(), NSURLRequestCachePolicy::UseProtocolCachePolicy);
    file->validateWithCacheBuster();
    environment.runUntilIdle();
    EXPECT_EQ(delegate->ended, 1);
    EXPECT_EQ(file->cachePolicy(), NSURLRequestCachePolicy::ReloadIgnoringLocalCacheData);
    const auto hits = hitsOf("/static/picture.png");
    ASSERT_EQ(hits.size(), 1u);
    // The mock clock's date, in seconds since 2001.
    EXPECT_EQ(hits[0]["query"].value("unique", ""), "788918400");
    // The file is the source URL's, not the busted one's.
    EXPECT_TRUE(file->fileExists());
    EXPECT_EQ(file->sourceURL()->absoluteString(), server.baseURL() + "/static/picture.png");
}

TEST_F(CachedFileOnAdServer, FailuresKeepTheOldFile) {
    auto missing = fileFor("/static/nothing.png");
    std::filesystem::create_directories(std::filesystem::path(*missing->filePath()).parent_path());
    std::ofstream(*missing->filePath()) << "old";
    missing->validate();
    environment.runUntilIdle();
    EXPECT_EQ(delegate->failed, 1);
    EXPECT_FALSE(delegate->error); // a status is no error of the network
    EXPECT_EQ(missing->HTTPStatusCode(), 404);
    EXPECT_EQ(missing->contentAsString(), "old");

    delegate = std::make_shared<RecordingFileDelegate>();
    auto refused = ZADCachedFile::initWithURL(NSURL::URLWithString("http://127.0.0.1:1/x"));
    refused->setDelegate(delegate);
    refused->validate();
    environment.runUntilIdle();
    EXPECT_EQ(delegate->failed, 1);
    EXPECT_TRUE(delegate->error);

    missing->invalidate();
    EXPECT_FALSE(missing->fileExists());
}

TEST_F(CachedFileOnAdServer, RedirectsAreOfferedAndARefusalIsTheFailure) {
    const std::string chain = "/zadpage/redirect?n=2&to=/static/picture.png";
    auto followed = fileFor(chain);
    followed->validate();
    environment.runUntilIdle();
    EXPECT_EQ(delegate->redirects, 3);
    EXPECT_EQ(delegate->ended, 1);
    EXPECT_EQ(followed->HTTPDestinationURL()->absoluteString(),
              server.baseURL() + "/static/picture.png");
    EXPECT_TRUE(followed->fileExists());

    delegate = std::make_shared<RecordingFileDelegate>();
    delegate->redirectRefusal = makeError("Test", 3, "stay");
    auto refused = fileFor(chain + "&other=1");
    refused->validate();
    environment.runUntilIdle();
    EXPECT_EQ(delegate->redirects, 1);
    EXPECT_EQ(delegate->ended, 0);
    ASSERT_EQ(delegate->failed, 1);
    EXPECT_EQ(delegate->error->code(), 3);
    EXPECT_FALSE(refused->fileExists());
    EXPECT_FALSE(refused->connection());
}

TEST(CachedFileTest, AURLWithoutHostIsKeptUnderLocal) {
    TestHome home;
    auto file = ZADCachedFile::initWithURL(NSURL::URLWithString("file:///tmp/ad.html"));
    ASSERT_TRUE(file && file->filePath());
    EXPECT_THAT(*file->filePath(), ::testing::HasSubstr("/Library/Caches/@local/"));
    // The same URL names the same file, in any object.
    EXPECT_EQ(file->filePath(),
              ZADCachedFile::initWithURL(NSURL::URLWithString("file:///tmp/ad.html"))->filePath());
    EXPECT_FALSE(ZADCachedFile::initWithURL(nullptr));
}

TEST(CachedFileTest, AHostThatWouldLeaveTheCachesFolderNamesNoFile) {
    TestHome home;
    for (const std::string url : {"http://../x", "http://%2e%2e/x", "http://./x"}) {
        SCOPED_TRACE(url);
        auto file = ZADCachedFile::initWithURL(NSURL::URLWithString(url));
        ASSERT_TRUE(file);
        EXPECT_EQ(file->filePath(), std::nullopt);
        EXPECT_FALSE(file->fileExists());
    }
}

} // namespace
