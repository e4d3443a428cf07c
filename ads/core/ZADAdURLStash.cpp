#include "ads/core/ZADAdURLStash.h"

#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIView.h"

#include <map>
#include <mutex>

namespace {

std::mutex& urlStashLock() {
    static std::mutex lock;
    return lock;
}

// Canonical address -> view; on the lock only.
std::map<std::string, std::weak_ptr<UIView>>& urlStash() {
    static std::map<std::string, std::weak_ptr<UIView>> stash;
    return stash;
}

std::string canonicalText(const std::shared_ptr<NSURL>& URL) {
    auto canonical = ZADAdURLStash::canonicalURLForURL(URL);
    return canonical ? canonical->absoluteString() : std::string();
}

} // namespace

std::shared_ptr<NSURL> ZADAdURLStash::canonicalURLForURL(const std::shared_ptr<NSURL>& URL) {
    if (!URL || URL->port() || URL->host().empty()) {
        return URL;
    }
    std::string text = NSString::stringByReplacingOccurrencesOfStringWithString(
        URL->absoluteString(), URL->host(), URL->host() + ":80");
    if (auto fragment = text.rfind('#'); fragment != std::string::npos) {
        text.erase(fragment);
    }
    if (!text.empty() && text.back() == '/') {
        text.pop_back();
    }
    return NSURL::URLWithString(text);
}

void ZADAdURLStash::addForView(const std::shared_ptr<NSURL>& URL,
                               const std::shared_ptr<UIView>& view) {
    const std::string key = canonicalText(URL);
    if (key.empty()) {
        return;
    }
    std::lock_guard hold(urlStashLock());
    urlStash()[key] = view;
}

void ZADAdURLStash::remove(const std::shared_ptr<NSURL>& URL) {
    const std::string key = canonicalText(URL);
    std::lock_guard hold(urlStashLock());
    urlStash().erase(key);
}

std::shared_ptr<UIView> ZADAdURLStash::viewForURL(const std::shared_ptr<NSURL>& URL) {
    const std::string key = canonicalText(URL);
    std::lock_guard hold(urlStashLock());
    auto found = urlStash().find(key);
    return found == urlStash().end() ? nullptr : found->second.lock();
}

bool ZADAdURLStash::hasStashedURLs() {
    std::lock_guard hold(urlStashLock());
    return !urlStash().empty();
}

void ZADAdURLStash::resetForTesting() {
    std::lock_guard hold(urlStashLock());
    urlStash().clear();
}
