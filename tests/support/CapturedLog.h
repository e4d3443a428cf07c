// Catches the log lines written while it lives, so tests can check what was reported.
#pragma once

#include "platform/foundation/NSLog.h"

#include <string>
#include <vector>

class CapturedLog {
public:
    CapturedLog() {
        NSLogSetSink([this](const std::string& line) { lines_.push_back(line); });
    }
    ~CapturedLog() { NSLogSetSink(nullptr); }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};
