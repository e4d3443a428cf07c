// A scenario: one command a line, words separated by blanks, "quoted words" for text with
// blanks, '#' starting a comment.
#pragma once

#include "platform/foundation/ErrorOr.h"

#include <string>
#include <vector>

struct ScenarioCommand {
    int line = 0;
    std::string name;
    std::vector<std::string> arguments;
};

class ScenarioScript {
public:
    // An error naming the line when a line cannot be split into words.
    static ErrorOr<ScenarioScript> parse(const std::string& text);
    // Reads and parses a file; an unreadable file is an error too.
    static ErrorOr<ScenarioScript> load(const std::string& path);

    const std::vector<ScenarioCommand>& commands() const { return commands_; }

private:
    std::vector<ScenarioCommand> commands_;
};
