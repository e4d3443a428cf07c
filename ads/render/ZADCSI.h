// The process-wide hub of latency recorders: one recorder per action, made on first
// request. Sampling, timestamps and sending reports come with the latency reporter.
// Any thread.
#pragma once

#include "platform/base/NSObject.h"

#include <map>
#include <memory>
#include <string>

class DispatchQueue;
class ZADCSITimeRecorder;

class ZADCSI : public NSObject {
    NS_OBJECT(ZADCSI)
public:
    static std::shared_ptr<ZADCSI> sharedInstance();
    // Forgets the shared hub and its recorders (between tests).
    static void resetForTesting();

    // The action's recorder; null for an empty action.
    std::shared_ptr<ZADCSITimeRecorder> timeRecorderForAction(const std::string& action);
    // The query id of the server's last answer, sent with the latency reports.
    void setZWSQueryID(std::string queryID);
    std::string ZWSQueryID();

private:
    ZADCSI();

    std::shared_ptr<DispatchQueue> lockQueue_;
    std::map<std::string, std::shared_ptr<ZADCSITimeRecorder>> timeRecorders_;
    std::string ZWSQueryID_;
};
