#include "ads/render/ZADCSI.h"

#include "ads/render/ZADCSITimeRecorder.h"
#include "platform/dispatch/dispatch.h"

#include <mutex>

namespace {

struct Shared {
    std::mutex mutex;
    std::shared_ptr<ZADCSI> hub;
};

Shared& shared() {
    static Shared instance;
    return instance;
}

} // namespace

ZADCSI::ZADCSI()
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.csi-lock", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<ZADCSI> ZADCSI::sharedInstance() {
    std::lock_guard lock(shared().mutex);
    if (!shared().hub) {
        shared().hub = make<ZADCSI>();
    }
    return shared().hub;
}

void ZADCSI::resetForTesting() {
    std::lock_guard lock(shared().mutex);
    shared().hub.reset();
}

std::shared_ptr<ZADCSITimeRecorder> ZADCSI::timeRecorderForAction(const std::string& action) {
    if (action.empty()) {
        return nullptr;
    }
    std::shared_ptr<ZADCSITimeRecorder> recorder;
    dispatch_sync(lockQueue_, [&] {
        auto& stored = timeRecorders_[action];
        if (!stored) {
            stored = ZADCSITimeRecorder::initWithAction(action);
        }
        recorder = stored;
    });
    return recorder;
}

void ZADCSI::setZWSQueryID(std::string queryID) {
    dispatch_sync(lockQueue_, [&] { ZWSQueryID_ = std::move(queryID); });
}

std::string ZADCSI::ZWSQueryID() {
    std::string queryID;
    dispatch_sync(lockQueue_, [&] { queryID = ZWSQueryID_; });
    return queryID;
}
