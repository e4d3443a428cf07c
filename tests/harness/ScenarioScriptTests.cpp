// Reading a scenario and checking it against the runner's commands before anything runs:
// what is refused, with which line, and what passes.
#include "harness/ScenarioError.h"
#include "harness/ScenarioRunner.h"
#include "harness/ScenarioScript.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

// The first error of reading and checking the text; empty when it would run.
std::string problemOf(const std::string& text) {
    const ScenarioRunner runner{ScenarioRunner::Settings{}};
    auto script = ScenarioScript::parse(text);
    if (script.hasError()) {
        EXPECT_EQ(script.error()->code(), ScenarioErrorMalformedLine);
        return script.error()->localizedDescription();
    }
    const auto valid = runner.validate(script.value());
    if (valid.hasError()) {
        EXPECT_EQ(valid.error()->code(), ScenarioErrorMalformedLine);
        return valid.error()->localizedDescription();
    }
    return "";
}

TEST(ScenarioScriptTest, MalformedLinesAreRefusedWithTheirLineNumber) {
    struct Case {
        std::string text;
        std::string problem;
    };
    const Case cases[] = {
        // Times beyond a minute, or not times at all, would hold the run or make no sense.
        {"wait 1e9\n", "line 1: '1e9' is longer than 60 seconds (usage: wait SECONDS)"},
        {"wait 0\nwait 60.5\n", "line 2: '60.5' is longer than 60 seconds (usage: wait SECONDS)"},
        {"wait nan\n", "line 1: 'nan' is not a number (usage: wait SECONDS)"},
        {"wait inf\n", "line 1: 'inf' is not a number (usage: wait SECONDS)"},
        {"wait -0.1\n", "line 1: '-0.1' cannot be negative (usage: wait SECONDS)"},
        {"long-press 10 10 1e9\n",
         "line 1: '1e9' is longer than 60 seconds (usage: long-press X Y SECONDS)"},
        {"drag 0 0 10 10 1e9\n",
         "line 1: '1e9' is longer than 60 seconds (usage: drag X1 Y1 X2 Y2 [SECONDS])"},
        {"press-drag 0 0 10 10 1e9\n",
         "line 1: '1e9' is longer than 60 seconds (usage: press-drag X1 Y1 X2 Y2 HOLD "
         "[SECONDS])"},
        {"press-drag 0 0 10 10 1 -2\n",
         "line 1: '-2' cannot be negative (usage: press-drag X1 Y1 X2 Y2 HOLD [SECONDS])"},
        {"pinch 5 5 10 20 1e9\n", "line 1: '1e9' is longer than 60 seconds (usage: pinch X Y "
                                  "FROM_DISTANCE TO_DISTANCE [SECONDS])"},
        {"pinch 5 5 0 20\n", "line 1: '0' is not a positive distance (usage: pinch X Y "
                             "FROM_DISTANCE TO_DISTANCE [SECONDS])"},
        {"tap-at 1 nan\n", "line 1: 'nan' is not a number (usage: tap-at X Y)"},
        // Screenshot names become files in the shots folder.
        {"shot ok\nshot \"a\0b\"\n"s, "line 2: control character 0x00 in the text"},
        {"shot a/b\n", "line 1: a screenshot name is a plain file name, without '/' or a "
                       "leading '.', not a/b (usage: shot NAME)"},
        {"shot ../up\n", "line 1: a screenshot name is a plain file name, without '/' or a "
                         "leading '.', not ../up (usage: shot NAME)"},
        {"shot .hidden\n", "line 1: a screenshot name is a plain file name, without '/' or a "
                           "leading '.', not .hidden (usage: shot NAME)"},
        {"shot \"\"\n", "line 1: a screenshot name cannot be empty (usage: shot NAME)"},
        {"shot " + std::string(252, 'a') + "\n",
         "line 1: a screenshot name has at most 251 bytes (usage: shot NAME)"},
        // A scenario is text: control bytes anywhere are refused before any command is read.
        {"screens\n# \x01 comment\n", "line 2: control character 0x01 in the text"},
        {"tap \"Sa\x1bve\"\n", "line 1: control character 0x1b in the text"},
        {"screens\ntap \"open\n", "line 2: unterminated quote: tap \"open"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(problemOf(c.text), c.problem);
    }
}

TEST(ScenarioScriptTest, LinesAtTheLimitsPass) {
    for (const std::string& text : std::initializer_list<std::string>{
             "wait 60\nwait 0\n",
             "long-press 1 1 60\ndrag -5 -5 1e3 1e3 60\npress-drag 0 0 1 1 60 60\n",
             "pinch 5 5 0.5 300 60\npinch 5 5 10 20\n",
             "rotate 5 5 40 -7 60\nrotate 5 5 0.5 0.1\n",
             "shot \"name with blanks\"\nshot " + std::string(251, 'a') + "\n",
             "\tscreens\t# tabs and a carriage return\r\n",
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(problemOf(text), "");
    }
}

} // namespace
