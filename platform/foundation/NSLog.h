// The log: one formatted line per call to standard error, whole lines even when threads
// log at once. Tests can catch the lines instead.
#pragma once

#include "platform/foundation/NSString.h"

#include <functional>
#include <string>
#include <string_view>

// Writes one line (without its final newline) to the sink or standard error.
void NSLogLine(const std::string& line);

template <class... A> void NSLog(std::string_view format, const A&... args) {
    NSLogLine(NSString::stringWithFormat(format, args...));
}

// Sends every line to `sink` instead of standard error; nullptr restores standard error.
// The sink is called one line at a time and must not log itself.
void NSLogSetSink(std::function<void(const std::string&)> sink);
