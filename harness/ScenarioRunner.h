// Plays a scenario in the running app: a table of commands, each run on the main run loop
// after launch, one after the other; a command may take time (it calls `next` when done).
// Ends the app when the scenario ends or fails.
#pragma once

#include "harness/ScenarioScript.h"
#include "harness/TouchGesture.h"
#include "platform/foundation/ErrorOr.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class NSObject;

class ScenarioRunner {
public:
    // Exit codes: a failed check, and a scenario that cannot be run at all.
    static constexpr int kExitFailed = 1;
    static constexpr int kExitBadScenario = 2;
    // How long a drag, a pinch or a turn takes when the scenario does not say.
    static constexpr double kDefaultGestureSeconds = 0.3;
    // The longest a wait or a gesture may last: a longer one is a slip that would hold the
    // run for hours, and is refused when the scenario is checked.
    static constexpr double kMaxSeconds = 60;
    // The most presses of the delete key one line makes.
    static constexpr int kMaxDeletes = 100;

    using Next = std::function<void()>;
    // Runs one command; calls `next` when done, or `fail(message)` to stop the run.
    using Handler = std::function<void(const std::vector<std::string>& arguments, Next next,
                                       std::function<void(const std::string&)> fail)>;
    // Checks a line's arguments before the run starts; the error's description says what
    // is wrong with them.
    using Check = std::function<ErrorOr<void>(const std::vector<std::string>& arguments)>;
    struct Command {
        size_t minArguments = 0;
        size_t maxArguments = 0;
        std::string usage;
        Handler handler;
        Check check = nullptr;
    };
    // What a command's number arguments stand for, each with its own range: a point's
    // coordinate (any finite number), a distance (positive), an angle in radians (any
    // finite number) or a time in seconds (0 to kMaxSeconds).
    enum class Number { Coordinate, Distance, Angle, Seconds };
    using Gesture = std::function<TouchGesture(const std::vector<double>& numbers)>;

    // What the program tells the runner: where screenshots go, the line a relaunched
    // program goes on from, and how to start the program again after `relaunch` ended the
    // app (it is given the line to go on from, and does not return).
    struct Settings {
        std::string shots = "shots";
        int resumeAtLine = 1;
        std::function<void(int resumeAtLine)> relaunchProgram;
    };

    explicit ScenarioRunner(Settings settings);

    void addCommand(const std::string& name, Command command);
    // A check made once the last command has run: the first that fails fails the run
    // (kExitFailed), its error's description saying why. Work a command started and left
    // running (an ad load) is checked this way.
    using EndCheck = std::function<ErrorOr<void>()>;
    void addEndCheck(EndCheck check) { endChecks_.push_back(std::move(check)); }
    // The command of that name, or null.
    const Command* command(const std::string& name) const;
    // Checks every line against the command table; an error names the first bad line.
    ErrorOr<void> validate(const ScenarioScript& script) const;
    // Starts playing once the application has finished launching.
    void startAfterLaunch(ScenarioScript script);

private:
    void addBuiltInCommands();
    // Touches, typing and screen checks: tap, tap-at, long-press, drag, press-drag, pinch,
    // rotate, type, delete, expect-screen.
    void addTouchCommands();
    // A command playing the gesture its numbers describe, one of each kind; those from
    // `minArguments` on may be left out and are times of kDefaultGestureSeconds.
    void addGestureCommand(const std::string& name, const std::string& usage, size_t minArguments,
                           std::vector<Number> kinds, Gesture gesture);
    void runFrom(size_t index);
    void relaunch();
    ErrorOr<void> takeScreenshot(const std::string& name) const;

    Settings settings_;
    std::map<std::string, Command> commands_;
    std::vector<EndCheck> endChecks_;
    ScenarioScript script_;
    size_t currentIndex_ = 0;
    std::shared_ptr<NSObject> launchObserver_;
};
