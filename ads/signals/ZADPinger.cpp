#include "ads/signals/ZADPinger.h"

#include "ads/signals/ZADScheduler.h"
#include "platform/base/ResettableSingleton.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLConnection.h"
#include "platform/foundation/NSURLRequest.h"
#include "platform/foundation/NSUserDefaults.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr long kDefaultMaximumRetryURLCount = 10;
constexpr long kDefaultURLRetryCount = 3;
constexpr double kDefaultPingInterval = 60.0;
constexpr double kDefaultFirstPingInterval = 3.0;

ResettableSingleton<ZADPinger>& shared() {
    static ResettableSingleton<ZADPinger> pinger;
    return pinger;
}

long integerSetting(const char* key, long fallback) {
    const PlistValue value = NSUserDefaults::standardUserDefaults()->objectForKey(key);
    return value.isNull() ? fallback : static_cast<long>(value.integerValue());
}

// The setting's text read as a number of seconds.
double secondsSetting(const char* key, double fallback) {
    const PlistValue value = NSUserDefaults::standardUserDefaults()->objectForKey(key);
    return value.isNull() ? fallback : value.doubleValue();
}

// The list of group names; what is not a list of texts counts as none.
std::vector<std::string> groupNames() {
    const PlistValue stored =
        NSUserDefaults::standardUserDefaults()->objectForKey(ZADPinger::kRetryGroupKeysKey);
    std::vector<std::string> names;
    if (stored.isNull()) {
        return names;
    }
    if (!stored.array()) {
        NSLog("Ignoring the retry groups' list: not a list");
        return names;
    }
    for (const auto& entry : *stored.array()) {
        if (entry.string()) {
            names.push_back(*entry.string());
        } else {
            NSLog("Ignoring a retry group's name that is not a text");
        }
    }
    return names;
}

// The group's entries of the right shape: URL -> retries left.
std::map<std::string, long> groupEntries(const std::string& groupKey) {
    const PlistValue stored = NSUserDefaults::standardUserDefaults()->objectForKey(groupKey);
    std::map<std::string, long> entries;
    if (stored.isNull()) {
        return entries;
    }
    if (!stored.dictionary()) {
        NSLog("Ignoring the retry group %@: not a dictionary", groupKey);
        return entries;
    }
    for (const auto& [url, entry] : *stored.dictionary()) {
        const PlistValue count =
            entry.dictionary() && entry.dictionary()->contains(ZADPinger::kRetryCountKey)
                ? entry.dictionary()->at(ZADPinger::kRetryCountKey)
                : PlistValue();
        if (count.type() != PlistValue::Type::Integer) {
            NSLog("Ignoring the retry entry %@ of %@: no retry count", url, groupKey);
            continue;
        }
        entries[url] = static_cast<long>(count.integerValue());
    }
    return entries;
}

void writeGroup(const std::string& groupKey, const std::map<std::string, long>& entries) {
    PlistValue::Dictionary group;
    for (const auto& [url, count] : entries) {
        group[url] =
            PlistValue(PlistValue::Dictionary{{ZADPinger::kRetryCountKey, PlistValue(count)}});
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObjectForKey(PlistValue(std::move(group)), groupKey);
    defaults->synchronize();
}

bool groupExists(const std::string& groupKey) {
    return !NSUserDefaults::standardUserDefaults()->objectForKey(groupKey).isNull();
}

} // namespace

ZADPinger::ZADPinger()
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.pinger", DISPATCH_QUEUE_SERIAL)),
      maximumRetryURLCount_(
          integerSetting("/zivido/ads/maximum_retry_url_count", kDefaultMaximumRetryURLCount)),
      URLRetryCount_(integerSetting("/zivido/ads/url_time_to_live", kDefaultURLRetryCount)) {}

std::shared_ptr<ZADPinger> ZADPinger::sharedInstance() {
    return shared().instance([] { return make<ZADPinger>(); });
}

void ZADPinger::resetForTesting() {
    // Its timer holds the old pinger's scheduler weakly, and the run loop's reset drops it.
    shared().reset();
}

void ZADPinger::pingURLStringQueueCompletionBlock(const std::string& URLString,
                                                  dispatch_queue_t queue, Completion completion) {
    const auto answer = [queue, completion](bool succeeded) {
        if (queue && completion) {
            dispatch_async(queue, [completion, succeeded] { completion(succeeded); });
        }
    };
    if (URLString.empty() || !NSURL::URLWithString(URLString)) {
        answer(false);
        return;
    }
    dispatch_async(lockQueue_, [self = self<ZADPinger>(), URLString, answer] {
        self->pingLocked(URLString, answer);
    });
}

void ZADPinger::pingLocked(const std::string& URLString, Completion completion) {
    auto url = NSURL::URLWithString(URLString);
    if (!url) {
        completion(false);
        return;
    }
    pingedURLs_.insert(URLString);
    std::weak_ptr<ZADPinger> weak = self<ZADPinger>();
    NSURLConnection::sendAsynchronousRequestQueueCompletionHandler(
        NSURLRequest::requestWithURL(url), dispatch_get_main_queue(),
        [weak, URLString, completion](std::shared_ptr<NSURLResponse> response,
                                      std::optional<std::vector<uint8_t>>,
                                      std::shared_ptr<NSError> error) {
            auto http = std::dynamic_pointer_cast<NSHTTPURLResponse>(response);
            const bool succeeded =
                !error && http && http->statusCode() >= 200 && http->statusCode() <= 299;
            auto self = weak.lock();
            if (!self) {
                return;
            }
            dispatch_async(self->lockQueue_, [self, URLString, completion, succeeded] {
                self->pingedURLs_.erase(URLString);
                completion(succeeded);
            });
        });
}

void ZADPinger::pingWithRetryGroupKeyURLRetryURLString(const std::string& groupKey,
                                                       const std::shared_ptr<NSURL>& URL,
                                                       const std::string& retryURLString) {
    if (groupKey.empty() || !URL || retryURLString.empty()) {
        return;
    }
    dispatch_async(lockQueue_, [self = self<ZADPinger>(), groupKey, URL, retryURLString] {
        self->storeLocked(retryURLString, groupKey);
        self->pingLocked(URL->absoluteString(), [self, groupKey, retryURLString](bool succeeded) {
            if (succeeded) {
                self->removeLocked(retryURLString, groupKey);
            }
        });
    });
}

void ZADPinger::storeRetryURLStringRetryGroupKey(const std::string& retryURLString,
                                                 const std::string& groupKey) {
    if (retryURLString.empty() || groupKey.empty()) {
        return;
    }
    dispatch_async(lockQueue_, [self = self<ZADPinger>(), retryURLString, groupKey] {
        self->storeLocked(retryURLString, groupKey);
    });
}

void ZADPinger::removeRetryURLStringRetryGroupKey(const std::string& retryURLString,
                                                  const std::string& groupKey) {
    if (retryURLString.empty() || groupKey.empty()) {
        return;
    }
    dispatch_async(lockQueue_, [self = self<ZADPinger>(), retryURLString, groupKey] {
        self->removeLocked(retryURLString, groupKey);
    });
}

void ZADPinger::storeLocked(const std::string& retryURLString, const std::string& groupKey) {
    auto names = groupNames();
    if (std::find(names.begin(), names.end(), groupKey) == names.end()) {
        names.push_back(groupKey);
        PlistValue::Array list(names.begin(), names.end());
        NSUserDefaults::standardUserDefaults()->setObjectForKey(PlistValue(std::move(list)),
                                                                kRetryGroupKeysKey);
    }
    auto entries = groupEntries(groupKey);
    if (static_cast<long>(entries.size()) < maximumRetryURLCount_ &&
        !entries.contains(retryURLString)) {
        entries[retryURLString] = URLRetryCount_;
    }
    writeGroup(groupKey, entries);
}

void ZADPinger::removeLocked(const std::string& retryURLString, const std::string& groupKey) {
    if (!groupExists(groupKey)) {
        return;
    }
    auto entries = groupEntries(groupKey);
    entries.erase(retryURLString);
    writeGroup(groupKey, entries);
}

void ZADPinger::pingRetryLocked(const std::string& retryURLString, const std::string& groupKey) {
    pingLocked(retryURLString,
               [self = self<ZADPinger>(), retryURLString, groupKey](bool succeeded) {
                   if (succeeded) {
                       self->removeLocked(retryURLString, groupKey);
                   }
               });
}

void ZADPinger::pingRetryURLs() {
    const PlistValue list =
        NSUserDefaults::standardUserDefaults()->objectForKey(kRetryGroupKeysKey);
    if (!list.array()) {
        return;
    }
    for (const auto& groupKey : groupNames()) {
        if (!groupExists(groupKey)) {
            continue;
        }
        std::map<std::string, long> kept;
        std::vector<std::string> toPing;
        for (const auto& [url, count] : groupEntries(groupKey)) {
            if (pingedURLs_.contains(url)) {
                kept[url] = count;
            } else if (count >= 1) {
                kept[url] = count - 1;
                toPing.push_back(url);
            }
        }
        // Written before any of the pass's pings can answer.
        writeGroup(groupKey, kept);
        for (const auto& url : toPing) {
            pingRetryLocked(url, groupKey);
        }
    }
}

void ZADPinger::start() {
    const double interval = secondsSetting("/zivido/ads/ping_interval", kDefaultPingInterval);
    const double first =
        secondsSetting("/zivido/ads/first_ping_interval", kDefaultFirstPingInterval);
    std::weak_ptr<ZADPinger> weak = self<ZADPinger>();
    const auto pass = [weak] {
        if (auto self = weak.lock()) {
            self->pingRetryURLs();
        }
    };
    dispatch_async(lockQueue_, [self = self<ZADPinger>(), interval, pass] {
        if (self->scheduler_) {
            return;
        }
        // A zero or negative interval would make the timer spin: such a setting is taken
        // for none.
        self->scheduler_ =
            ZADScheduler::initWithInterval(interval > 0 ? interval : kDefaultPingInterval);
        dispatch_async(dispatch_get_main_queue(),
                       [scheduler = self->scheduler_, queue = self->lockQueue_, pass] {
                           scheduler->taskIDScheduledOnQueueBlock(queue, pass);
                           scheduler->start();
                       });
    });
    if (first < interval) {
        dispatch_after(first > 0 ? first : 0, lockQueue_, pass);
    }
}
