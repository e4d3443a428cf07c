#include "ads/render/ZADCSITimeRecorder.h"

#include "platform/base/Clock.h"
#include "platform/dispatch/dispatch.h"

ZADCSITimeRecorder::ZADCSITimeRecorder(std::string action)
    : action_(std::move(action)),
      lockQueue_(
          dispatch_queue_create("com.zivido.vazer.csi-time-recorder", DISPATCH_QUEUE_SERIAL)) {}

std::shared_ptr<ZADCSITimeRecorder> ZADCSITimeRecorder::initWithAction(std::string action) {
    return make<ZADCSITimeRecorder>(std::move(action));
}

void ZADCSITimeRecorder::startTimingVariableWithName(const std::string& name) {
    if (name.empty()) {
        return;
    }
    double now = Clock::current().monotonicNow();
    auto self = this->self<ZADCSITimeRecorder>();
    dispatch_async(lockQueue_, [self, name, now] { self->ongoing_[name] = now; });
}

void ZADCSITimeRecorder::endTimingVariableWithName(const std::string& name) {
    double now = Clock::current().monotonicNow();
    auto self = this->self<ZADCSITimeRecorder>();
    dispatch_async(lockQueue_, [self, name, now] {
        auto found = self->ongoing_.find(name);
        if (found == self->ongoing_.end()) {
            return;
        }
        self->completed_[name] = now - found->second;
        self->ongoing_.erase(found);
    });
}

void ZADCSITimeRecorder::cancelTimingVariableWithName(const std::string& name) {
    auto self = this->self<ZADCSITimeRecorder>();
    dispatch_async(lockQueue_, [self, name] { self->ongoing_.erase(name); });
}

std::map<std::string, double> ZADCSITimeRecorder::ongoingVariables() const {
    std::map<std::string, double> copy;
    dispatch_sync(lockQueue_, [&] { copy = ongoing_; });
    return copy;
}

std::map<std::string, double> ZADCSITimeRecorder::completedVariables() const {
    std::map<std::string, double> copy;
    dispatch_sync(lockQueue_, [&] { copy = completed_; });
    return copy;
}

void ZADCSITimeRecorder::addExperimentID(const std::string& experimentID) {
    if (experimentID.empty()) {
        return;
    }
    auto self = this->self<ZADCSITimeRecorder>();
    dispatch_async(lockQueue_, [self, experimentID] { self->experimentIDs_.insert(experimentID); });
}

std::set<std::string> ZADCSITimeRecorder::experimentIDs() const {
    std::set<std::string> copy;
    dispatch_sync(lockQueue_, [&] { copy = experimentIDs_; });
    return copy;
}
