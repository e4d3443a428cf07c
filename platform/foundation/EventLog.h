// The program's account of what a user would see: every screen shown, alert, opened URL
// and saved file becomes one line on standard output ("screen: MainViewController"), so a
// scenario can be followed and checked. Tests read the recorded lines back.
#pragma once

#include <string>
#include <vector>

class EventLog {
public:
    // Records "kind: text" and prints it when printing is on (the program turns it on).
    static void record(const std::string& kind, const std::string& text);
    static std::vector<std::string> entries();
    static void clear();
    static void setPrintsToStandardOutput(bool prints);
    // No entries, and not printing (between tests).
    static void resetForTesting();
};
