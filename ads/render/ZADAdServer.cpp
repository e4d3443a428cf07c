#include "ads/render/ZADAdServer.h"

namespace {

std::string& storedBaseURL() {
    static std::string url = ZADAdServer::kDefaultBaseURL;
    return url;
}

} // namespace

const std::string& ZADAdServer::baseURL() {
    return storedBaseURL();
}

void ZADAdServer::setBaseURL(std::string baseURL) {
    while (!baseURL.empty() && baseURL.back() == '/') {
        baseURL.pop_back();
    }
    storedBaseURL() = std::move(baseURL);
}

std::string ZADAdServer::URLForPath(const std::string& path) {
    return storedBaseURL() + path;
}

void ZADAdServer::resetForTesting() {
    storedBaseURL() = kDefaultBaseURL;
}
