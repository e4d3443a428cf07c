// The timings of one latency action ("load_ad_ios" ...): named variables that start and
// end on the run loop's monotonic clock. This is the part of the latency reporting the
// core page's web view records into; the report itself comes with the reporter.
// Any thread: the variables live on the recorder's own serial queue (changes are queued,
// reads wait for them).
#pragma once

#include "platform/base/NSObject.h"

#include <map>
#include <memory>
#include <set>
#include <string>

class DispatchQueue;

class ZADCSITimeRecorder : public NSObject {
    NS_OBJECT(ZADCSITimeRecorder)
public:
    static std::shared_ptr<ZADCSITimeRecorder> initWithAction(std::string action);

    const std::string& action() const { return action_; }

    // Starts the variable anew (an ongoing one of the same name is replaced); an empty
    // name is ignored.
    void startTimingVariableWithName(const std::string& name);
    // Moves the ongoing variable to the completed ones with its length; nothing when it
    // is not ongoing.
    void endTimingVariableWithName(const std::string& name);
    // Drops the ongoing variable: it is never reported.
    void cancelTimingVariableWithName(const std::string& name);

    // An experiment the load takes part in, reported with its timings; empty ids and
    // repeats are ignored.
    void addExperimentID(const std::string& experimentID);
    std::set<std::string> experimentIDs() const;

    // Name to start time, in seconds.
    std::map<std::string, double> ongoingVariables() const;
    // Name to length, in seconds.
    std::map<std::string, double> completedVariables() const;

private:
    explicit ZADCSITimeRecorder(std::string action);

    std::string action_;
    std::shared_ptr<DispatchQueue> lockQueue_;
    std::map<std::string, double> ongoing_;
    std::map<std::string, double> completed_;
    std::set<std::string> experimentIDs_;
};
