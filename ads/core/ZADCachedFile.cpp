#include "ads/core/ZADCachedFile.h"

#include "ads/core/NSURL+ZADNSURLUtilities.h"
#include "ads/core/ZADCachedFileDelegate.h"
#include "ads/signals/ZADDevice.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSMutableURLRequest.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLConnection.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace {
// A stable hash of the URL's text (64-bit FNV-1a): the file's name is the same in every
// run, so a later launch revalidates the file an earlier one wrote.
uint64_t stableHash(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : text) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}
} // namespace

std::shared_ptr<ZADCachedFile> ZADCachedFile::initWithURL(std::shared_ptr<NSURL> url) {
    if (!url) {
        return nullptr;
    }
    auto file = make<ZADCachedFile>();
    file->sourceURL_ = url;
    file->HTTPDestinationURL_ = std::move(url);
    return file;
}

ZADCachedFile::~ZADCachedFile() {
    if (connection_) {
        connection_->cancel();
    }
}

NSDateFormatter& ZADCachedFile::formatterForHTTPDate() {
    static const auto formatter = [] {
        auto made = NSDateFormatter::init();
        made->setDateFormat("EEE, dd MMM yyyy HH:mm:ss");
        return made;
    }();
    return *formatter;
}

std::optional<std::string> ZADCachedFile::filePath() const {
    if (!filePath_) {
        const auto caches =
            NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true);
        if (caches.empty()) {
            return std::nullopt;
        }
        const std::string& host = sourceURL_->host();
        // The host names a folder of its own: one that would climb out of the caches
        // folder, or reach into another, names no file at all.
        if (host == "." || host == ".." || host.find_first_of(std::string("/\\\0", 3)) !=
                                                 std::string::npos) {
            return std::nullopt;
        }
        const std::string folder = host.empty() ? "@local" : host;
        filePath_ = stringByAppendingPathComponent(
            stringByAppendingPathComponent(caches.front(), folder),
            NSString::stringWithFormat("%lx", stableHash(sourceURL_->absoluteString())));
    }
    return filePath_;
}

bool ZADCachedFile::fileExists() {
    const auto path = filePath();
    std::error_code error;
    return path && std::filesystem::is_regular_file(*path, error);
}

std::optional<std::string> ZADCachedFile::contentAsString() {
    const auto path = filePath();
    const auto data = path ? NSData::dataWithContentsOfFile(*path) : std::nullopt;
    if (!data) {
        return std::nullopt;
    }
    std::string text(data->begin(), data->end());
    if (!NSString::isValidUTF8(text)) {
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> ZADCachedFile::fileModificationRFC1123DateString() {
    const auto path = filePath();
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error)) {
        return std::nullopt;
    }
    const auto written = std::filesystem::last_write_time(*path, error);
    if (error) {
        return std::nullopt;
    }
    const auto since1970 = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::file_clock::to_sys(written).time_since_epoch());
    return formatterForHTTPDate().stringFromDate(
        NSDate::dateWithTimeIntervalSince1970(static_cast<double>(since1970.count())));
}

std::string ZADCachedFile::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return NSString::stringWithFormat("<%@: %@> HTTP code: %ld\n\turl: %@\n\tfile: %@", className(),
                                      std::string(address), HTTPStatusCode_,
                                      sourceURL_->absoluteString(), filePath().value_or("(null)"));
}

void ZADCachedFile::validate() {
    if (!connection_) {
        startDownload(false);
    }
}

void ZADCachedFile::validateWithCacheBuster() {
    if (!connection_) {
        startDownload(true);
    }
}

void ZADCachedFile::cancel() {
    cleanUp();
}

void ZADCachedFile::invalidate() {
    cleanUp();
    if (const auto path = filePath()) {
        std::error_code ignored;
        std::filesystem::remove(*path, ignored);
    }
}

void ZADCachedFile::startDownload(bool cacheBuster) {
    auto url = sourceURL_;
    if (cacheBuster) {
        url = ZADNSURLUtilities::zad_URLByAppendingQueryParameters(
            *url, {{"unique", PlistValue(NSString::stringWithFormat(
                                  "%.0f", NSDate::date().timeIntervalSinceReferenceDate))}});
        cachePolicy_ = NSURLRequestCachePolicy::ReloadIgnoringLocalCacheData;
    }
    std::shared_ptr<NSURLConnection> connection;
    if (url) {
        auto request = NSMutableURLRequest::requestWithURL(url);
        request->setCachePolicy(cachePolicy_);
        const std::string userAgent = ZADDevice::sharedInstance()->userAgent();
        if (!userAgent.empty()) {
            request->setValueForHTTPHeaderField(userAgent, "User-Agent");
        }
        if (const auto date = fileModificationRFC1123DateString()) {
            request->setValueForHTTPHeaderField(*date, "If-Modified-Since");
        }
        connection = NSURLConnection::initWithRequestDelegateStartImmediately(
            request, std::static_pointer_cast<NSURLConnectionDataDelegate>(self<ZADCachedFile>()),
            false);
    }
    if (!connection) {
        if (auto delegate = delegate_.lock()) {
            delegate->cachedFileDownloadDidFail(*this, nullptr);
        }
        return;
    }
    connection_ = std::move(connection);
    receivedData_.emplace();
    connection_->start();
}

std::shared_ptr<NSURLRequest> ZADCachedFile::connectionWillSendRequestRedirectResponse(
    NSURLConnection&, std::shared_ptr<NSURLRequest> request,
    const std::shared_ptr<NSURLResponse>& redirectResponse) {
    HTTPDestinationURL_ = request->URL();
    if (const auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(redirectResponse)) {
        HTTPHeaders_ = http->allHeaderFields();
        auto keep = self<ZADCachedFile>();
        if (auto delegate = delegate_.lock()) {
            if (auto refusal = delegate->cachedFileShouldRedirectToURL(*this, request->URL())) {
                cleanUp();
                delegate->cachedFileDownloadDidFail(*this, refusal);
            }
        }
    }
    return request;
}

void ZADCachedFile::connectionDidReceiveResponse(NSURLConnection&,
                                                 const std::shared_ptr<NSURLResponse>& response) {
    if (const auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response)) {
        HTTPStatusCode_ = http->statusCode();
        HTTPHeaders_ = http->allHeaderFields();
        auto keep = self<ZADCachedFile>();
        auto delegate = delegate_.lock();
        if (HTTPStatusCode_ == 304) {
            cleanUp();
            if (delegate) {
                delegate->cachedFileDownloadDidEnd(*this);
            }
            return;
        }
        if (HTTPStatusCode_ != 200) {
            cleanUp();
            if (delegate) {
                delegate->cachedFileDownloadDidFail(*this, nullptr);
            }
            return;
        }
        receivedModificationDate_ = http->valueForHTTPHeaderField("Last-Modified");
        if (receivedModificationDate_) {
            const auto zone = receivedModificationDate_->find("GMT");
            if (zone != std::string::npos) {
                receivedModificationDate_->erase(zone);
            }
        }
    }
    if (receivedData_) {
        receivedData_->clear();
    }
}

void ZADCachedFile::connectionDidReceiveData(NSURLConnection&, const std::vector<uint8_t>& data) {
    if (receivedData_) {
        receivedData_->insert(receivedData_->end(), data.begin(), data.end());
    }
}

void ZADCachedFile::connectionDidFinishLoading(NSURLConnection&) {
    auto keep = self<ZADCachedFile>();
    save();
    cleanUp();
}

void ZADCachedFile::connectionDidFailWithError(NSURLConnection&,
                                               const std::shared_ptr<NSError>& error) {
    auto keep = self<ZADCachedFile>();
    cleanUp();
    if (auto delegate = delegate_.lock()) {
        delegate->cachedFileDownloadDidFail(*this, error);
    }
}

void ZADCachedFile::save() {
    auto delegate = delegate_.lock();
    const auto path = filePath();
    std::error_code error;
    if (path) {
        std::filesystem::create_directories(std::filesystem::path(*path).parent_path(), error);
    }
    if (!path || error ||
        !NSData::writeToFileAtomically(receivedData_.value_or(std::vector<uint8_t>()), *path)) {
        if (delegate) {
            delegate->cachedFileDownloadDidFail(
                *this, NSError::errorWithDomainCodeUserInfo(
                           NSCocoaErrorDomain, NSFileWriteUnknownError,
                           {{NSLocalizedDescriptionKey,
                             PlistValue("The cached file could not be written: " +
                                        path.value_or("(no file path)"))}}));
        }
        return;
    }
    if (delegate) {
        delegate->cachedFileDownloadDidEnd(*this);
    }
    // Applied after the write, so the next validation sends the server's own date back. The
    // blank left before the zone is not part of the date.
    if (receivedModificationDate_ && !receivedModificationDate_->empty()) {
        const auto date = formatterForHTTPDate().dateFromString(
            NSString::stringByTrimmingWhitespaceAndNewlines(*receivedModificationDate_));
        if (date) {
            const auto since1970 = std::chrono::sys_seconds(
                std::chrono::seconds(static_cast<int64_t>(date->timeIntervalSince1970())));
            std::filesystem::last_write_time(*path, std::chrono::file_clock::from_sys(since1970),
                                             error);
        }
    }
    receivedModificationDate_.reset();
}

void ZADCachedFile::cleanUp() {
    if (auto connection = std::exchange(connection_, nullptr)) {
        connection->cancel();
    }
    receivedData_.reset();
    receivedModificationDate_.reset();
}
