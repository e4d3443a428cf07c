// The errors of reading, checking and playing a scenario: their domain and codes. The
// description names the line or the command and says what is wrong.
#pragma once

#include "platform/foundation/ErrorOr.h"

inline constexpr const char* ScenarioErrorDomain = "ScenarioErrorDomain";

enum : long {
    // The scenario file cannot be read.
    ScenarioErrorUnreadableFile = 1,
    // A line that is not a known command with fitting arguments.
    ScenarioErrorMalformedLine = 2,
    // A command that cannot be carried out in the app as it is.
    ScenarioErrorCommandFailed = 3,
};
