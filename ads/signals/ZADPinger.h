// The engine's fire-and-forget URL caller. A ping is one plain GET: success is an HTTP
// status from 200 to 299 without a transport error. Pings that must not be lost are first
// written into a retry group kept in the user defaults, taken out when a ping succeeds,
// and retried by a pass on a repeating timer (also across launches) until each URL's
// budget is used up: a URL is pinged once directly and then at most `URLRetryCount` more
// times, one per pass.
//
// Retry groups in the user defaults: "/zivido/ads/retry_group_keys" lists the groups'
// names in the order first used; each group is a dictionary under its own name from a
// retry URL to {"/zivido/ads/retry_count": retries left}. A list, group or entry of
// another shape is ignored (logged) and rewritten by the next change.
//
// Any thread: the in-flight set and every change of the retry groups run on the pinger's
// serial queue, and loads answer there; callbacks run on the queue they name.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

class NSURL;
class ZADScheduler;

class ZADPinger : public NSObject {
    NS_OBJECT(ZADPinger)
public:
    using Completion = std::function<void(bool succeeded)>;
    static constexpr const char* kRetryGroupKeysKey = "/zivido/ads/retry_group_keys";
    static constexpr const char* kRetryCountKey = "/zivido/ads/retry_count";

    static std::shared_ptr<ZADPinger> sharedInstance();
    // A new pinger reading its settings again (between tests).
    static void resetForTesting();

    // A string that is empty or no URL fails at once. The completion runs on `queue`; with
    // either missing nothing is called.
    void pingURLStringQueueCompletionBlock(const std::string& URLString, dispatch_queue_t queue,
                                           Completion completion);
    // Keeps `retryURLString` in the group, then pings the URL; success takes the retry URL
    // out. Nothing without a group name, a URL or a retry URL.
    void pingWithRetryGroupKeyURLRetryURLString(const std::string& groupKey,
                                                const std::shared_ptr<NSURL>& URL,
                                                const std::string& retryURLString);
    // A full group, or one holding the URL already, is left as it is.
    void storeRetryURLStringRetryGroupKey(const std::string& retryURLString,
                                          const std::string& groupKey);
    void removeRetryURLStringRetryGroupKey(const std::string& retryURLString,
                                           const std::string& groupKey);
    // The retry pass; runs on the pinger's queue.
    void pingRetryURLs();
    // Starts the repeating retry pass ("/zivido/ads/ping_interval", 60 s by default) and,
    // when "/zivido/ads/first_ping_interval" (3 s by default) is shorter, one pass that
    // soon. Safe to call again.
    void start();

    long maximumRetryURLCount() const { return maximumRetryURLCount_; }
    long URLRetryCount() const { return URLRetryCount_; }
    const dispatch_queue_t& lockQueue() const { return lockQueue_; }

private:
    ZADPinger();

    // On the lock queue.
    void storeLocked(const std::string& retryURLString, const std::string& groupKey);
    void removeLocked(const std::string& retryURLString, const std::string& groupKey);
    void pingLocked(const std::string& URLString, Completion completion);
    // Pings the retry URL; success takes it out of its group.
    void pingRetryLocked(const std::string& retryURLString, const std::string& groupKey);

    dispatch_queue_t lockQueue_;
    // On the lock queue only.
    std::set<std::string> pingedURLs_;
    std::shared_ptr<ZADScheduler> scheduler_;
    long maximumRetryURLCount_;
    long URLRetryCount_;
};
