// What a cached file tells the object that keeps it up to date, on the main thread.
#pragma once

#include <memory>

class NSError;
class NSURL;
class ZADCachedFile;

class ZADCachedFileDelegate {
public:
    virtual ~ZADCachedFileDelegate() = default;
    // An error stops the download before the redirect is followed (and is its failure).
    virtual std::shared_ptr<NSError>
    cachedFileShouldRedirectToURL(ZADCachedFile& file, const std::shared_ptr<NSURL>& url) = 0;
    // The file is up to date: a fresh body was written, or the server said it is unchanged.
    virtual void cachedFileDownloadDidEnd(ZADCachedFile& file) = 0;
    // The error may be null (a status other than 200 and 304, a request that could not be
    // made); the file is kept as it was.
    virtual void cachedFileDownloadDidFail(ZADCachedFile& file,
                                           const std::shared_ptr<NSError>& error) = 0;
};
