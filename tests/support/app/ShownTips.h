// The short messages the app showed over its screens (its tips, successes and errors),
// oldest first, as the event log kept them.
#pragma once

#include "platform/foundation/EventLog.h"

#include <string>
#include <vector>

inline std::vector<std::string> shownTips() {
    const std::string prefix = "tip: ";
    std::vector<std::string> tips;
    for (const auto& line : EventLog::entries()) {
        if (line.rfind(prefix, 0) == 0) {
            tips.push_back(line.substr(prefix.size()));
        }
    }
    return tips;
}
