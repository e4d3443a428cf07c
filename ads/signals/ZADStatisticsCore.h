// Statistics of one owner (a slot) kept across launches in the user defaults under
// "zivido_stats_" + the owner's identifier: lists of texts and of text dictionaries.
// Without an identifier (or with an empty one) they stay in memory. Any thread: all
// access runs on the core's serial queue, writes queued and reads waiting, and every
// change rewrites the whole record. A stored record that is not a dictionary of lists is
// ignored, logged and rewritten from what is live; termination waits for queued writes.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <optional>
#include <string>

class ZADStatisticsCore : public NSObject {
    NS_OBJECT(ZADStatisticsCore)
public:
    static std::shared_ptr<ZADStatisticsCore> init();

    // Loads the record of that identifier into the live values (stored keys win) unless
    // the key is the current one.
    void setIdentifier(const std::string& identifier);
    PlistValue::Dictionary statistics() const;
    // Null when absent.
    PlistValue arrayForKey(const std::string& key) const;
    // Appends to the list under the key (a key holding no list gets a new one) and saves.
    void appendStringToArrayForKey(const std::string& text, const std::string& key);
    void appendDictionaryToArrayForKey(const PlistValue::Dictionary& entry, const std::string& key);
    void removeObjectForKey(const std::string& key);
    // Waits until every change queued so far is done and written.
    void applicationWillTerminate();

private:
    ZADStatisticsCore();
    void append(PlistValue value, const std::string& key);
    // On the queue.
    void savePersistentStatistics();

    dispatch_queue_t lockQueue_;
    // On the queue only.
    PlistValue::Dictionary statistics_;
    std::optional<std::string> userDefaultsKey_;
};
