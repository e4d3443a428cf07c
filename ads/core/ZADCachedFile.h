// One URL downloaded into a file of the home's caches folder ("<host>/<hash of the URL>",
// "@local" for a URL without host) and later revalidated: the file's date goes back as
// "If-Modified-Since", so an unchanged resource costs a 304 and keeps its file. A download
// runs at a time per object; the file outlives it until invalidate(). Main thread only.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSHTTPHeaderFields.h"
#include "platform/foundation/NSURLConnectionDataDelegate.h"
#include "platform/foundation/NSURLRequest.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSDateFormatter;
class NSURL;
class NSURLConnection;
class ZADCachedFileDelegate;

class ZADCachedFile : public NSObject, public NSURLConnectionDataDelegate {
    NS_OBJECT(ZADCachedFile)
public:
    // Null without a URL.
    static std::shared_ptr<ZADCachedFile> initWithURL(std::shared_ptr<NSURL> url);
    // Stops a download still running.
    ~ZADCachedFile() override;

    // Starts a download unless one runs.
    void validate();
    // The same, with a "unique" query parameter of the time that gets past every cache on
    // the way; this object then asks for fresh answers for good.
    void validateWithCacheBuster();
    // Stops the download; the file stays.
    void cancel();
    // Stops the download and deletes the file.
    void invalidate();

    // Nothing when the system has no caches folder, or when the URL's host would name a
    // folder outside it.
    std::optional<std::string> filePath() const;
    bool fileExists();
    // The file read as UTF-8 text; nothing when it cannot be.
    std::optional<std::string> contentAsString();
    // The file's date as an HTTP date without zone ("Wed, 21 Oct 2015 07:28:00").
    std::optional<std::string> fileModificationRFC1123DateString();

    std::string description() const override;

    // The one formatter of HTTP dates without zone, GMT.
    static NSDateFormatter& formatterForHTTPDate();

    const std::weak_ptr<ZADCachedFileDelegate>& delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<ZADCachedFileDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    const std::shared_ptr<NSURL>& sourceURL() const { return sourceURL_; }
    NSURLRequestCachePolicy cachePolicy() const { return cachePolicy_; }
    void setCachePolicy(NSURLRequestCachePolicy policy) { cachePolicy_ = policy; }
    const std::shared_ptr<NSURL>& HTTPDestinationURL() const { return HTTPDestinationURL_; }
    long HTTPStatusCode() const { return HTTPStatusCode_; }
    const NSHTTPHeaderFields& HTTPHeaders() const { return HTTPHeaders_; }
    const std::shared_ptr<NSURLConnection>& connection() const { return connection_; }
    const std::optional<std::string>& receivedModificationDate() const {
        return receivedModificationDate_;
    }

private:
    ZADCachedFile() = default;

    // The download's connection tells this object, and nothing else does.
    std::shared_ptr<NSURLRequest> connectionWillSendRequestRedirectResponse(
        NSURLConnection& connection, std::shared_ptr<NSURLRequest> request,
        const std::shared_ptr<NSURLResponse>& redirectResponse) override;
    void connectionDidReceiveResponse(NSURLConnection& connection,
                                      const std::shared_ptr<NSURLResponse>& response) override;
    void connectionDidReceiveData(NSURLConnection& connection,
                                  const std::vector<uint8_t>& data) override;
    void connectionDidFinishLoading(NSURLConnection& connection) override;
    void connectionDidFailWithError(NSURLConnection& connection,
                                    const std::shared_ptr<NSError>& error) override;

    void startDownload(bool cacheBuster);
    void save();
    void cleanUp();

    std::optional<std::vector<uint8_t>> receivedData_;
    mutable std::optional<std::string> filePath_; // named on first use
    std::weak_ptr<ZADCachedFileDelegate> delegate_;
    std::shared_ptr<NSURL> sourceURL_;
    NSURLRequestCachePolicy cachePolicy_ = NSURLRequestCachePolicy::UseProtocolCachePolicy;
    std::shared_ptr<NSURL> HTTPDestinationURL_;
    long HTTPStatusCode_ = 0;
    NSHTTPHeaderFields HTTPHeaders_;
    std::shared_ptr<NSURLConnection> connection_;
    std::optional<std::string> receivedModificationDate_;
};
