#include "harness/ScenarioScript.h"

#include "harness/ScenarioError.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {
// Splits one line into words; false on an unterminated quote.
bool splitWords(const std::string& line, std::vector<std::string>& words) {
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') {
            break;
        }
        std::string word;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    word += line[i + 1];
                    i += 2;
                } else if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                } else {
                    word += line[i++];
                }
            }
            if (!closed) {
                return false;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return true;
}
} // namespace

ErrorOr<ScenarioScript> ScenarioScript::parse(const std::string& text) {
    ScenarioScript script;
    std::istringstream stream(text);
    std::string line;
    int number = 0;
    while (std::getline(stream, line)) {
        ++number;
        // A scenario is text: a NUL or another control byte means a damaged or binary file,
        // and would cut a name short where the system takes it.
        const auto control = std::find_if(line.begin(), line.end(), [](unsigned char c) {
            return (c < 0x20 && c != '\t' && c != '\r') || c == 0x7f;
        });
        if (control != line.end()) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02x", static_cast<unsigned char>(*control));
            return makeError(ScenarioErrorDomain, ScenarioErrorMalformedLine,
                             "line " + std::to_string(number) + ": control character " + byte +
                                 " in the text");
        }
        std::vector<std::string> words;
        if (!splitWords(line, words)) {
            return makeError(ScenarioErrorDomain, ScenarioErrorMalformedLine,
                             "line " + std::to_string(number) + ": unterminated quote: " + line);
        }
        if (words.empty()) {
            continue;
        }
        ScenarioCommand command{number, words.front(), {words.begin() + 1, words.end()}};
        script.commands_.push_back(std::move(command));
    }
    return script;
}

ErrorOr<ScenarioScript> ScenarioScript::load(const std::string& path) {
    std::error_code ec;
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (std::filesystem::is_regular_file(path, ec) && file) {
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    if (!std::filesystem::is_regular_file(path, ec) || !file || file.bad()) {
        return makeError(ScenarioErrorDomain, ScenarioErrorUnreadableFile,
                         "cannot read the scenario " + path);
    }
    // Said with the file's name, as the checks of its commands are.
    auto script = parse(text);
    if (script.hasError()) {
        return makeError(ScenarioErrorDomain, script.error()->code(),
                         path + ": " + script.error()->localizedDescription());
    }
    return script;
}
