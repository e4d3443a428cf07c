// The named timings of one owner (a slot's statistics), kept across launches in the user
// defaults under "zivido_timing_" + the owner's identifier: {category: timing's dictionary
// form}. Only adding a timing writes the record (the whole of it, on the saving queue);
// ending, resetting or removing one is written by the next add. A record that is not of
// that shape is ignored (logged) and rewritten by the next save.
// The timings are used on the owner's thread; the termination notification waits until
// queued saves are written, as does letting the manager go.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/dispatch/dispatch.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ZADTiming;

class ZADTimingManager : public NSObject {
    NS_OBJECT(ZADTimingManager)
public:
    static std::shared_ptr<ZADTimingManager> init();
    ~ZADTimingManager() override;

    const std::string& identifier() const { return identifier_; }
    // Sets the record's key and loads it: a stored category replaces a live one.
    void setIdentifier(std::string identifier);
    const std::optional<std::string>& userDefaultsKey() const { return userDefaultsKey_; }

    void loadPersistentTimings();
    void savePersistentTimings();

    // A null timing only saves.
    void addTiming(const std::shared_ptr<ZADTiming>& timing);
    std::shared_ptr<ZADTiming> addTimingWithCategory(const std::string& category);
    std::shared_ptr<ZADTiming> timingForCategory(const std::string& category) const;
    void removeTiming(const std::shared_ptr<ZADTiming>& timing);
    void removeTimingForCategory(const std::string& category);
    void removeTimingsForCategories(const std::vector<std::string>& categories);
    void removeAllTimings();
    std::vector<std::shared_ptr<ZADTiming>> timings() const;
    std::vector<std::string> categories() const;

    // Waits until every save queued so far is written.
    void applicationWillTerminate();

private:
    ZADTimingManager();

    std::string identifier_;
    std::optional<std::string> userDefaultsKey_;
    std::map<std::string, std::shared_ptr<ZADTiming>> timings_;
    dispatch_queue_t savingQueue_;
};
