#include "platform/foundation/NSURLSession.h"

NSURLSession::NSURLSession()
    : delegateQueue_(dispatch_queue_create("NSURLSession.delegateQueue", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<NSURLSession> NSURLSession::sharedSession() {
    // Never destroyed: its loading thread may still be running when the process ends.
    static const auto& session = *new std::shared_ptr<NSURLSession>(make<NSURLSession>());
    return session;
}

std::shared_ptr<NSURLSessionDataTask> NSURLSession::dataTaskWithRequestCompletionHandler(
    std::shared_ptr<NSURLRequest> request, NSURLSessionDataTask::CompletionHandler handler) {
    return std::shared_ptr<NSURLSessionDataTask>(
        new NSURLSessionDataTask(self<NSURLSession>(), std::move(request), std::move(handler)));
}

std::shared_ptr<NSURLSessionDataTask>
NSURLSession::dataTaskWithURLCompletionHandler(std::shared_ptr<NSURL> url,
                                               NSURLSessionDataTask::CompletionHandler handler) {
    return dataTaskWithRequestCompletionHandler(NSURLRequest::requestWithURL(std::move(url)),
                                                std::move(handler));
}

void NSURLSession::setAdditionalTrustedCertificatesFile(const std::string& pemPath) {
    URLLoader::setAdditionalTrustedCertificatesFile(pemPath);
}

void NSURLSession::setMaximumBodySize(size_t bytes) {
    URLLoader::setMaximumBodySize(bytes);
}

void NSURLSession::setLoopbackOnly(bool loopbackOnly) {
    URLLoader::setLoopbackOnly(loopbackOnly);
}

void NSURLSession::resetForTesting() {
    URLLoader::setAdditionalTrustedCertificatesFile("");
    URLLoader::setMaximumBodySize(URLLoader::kDefaultMaximumBodySize);
    URLLoader::setLoopbackOnly(false);
}
