#include "harness/ScenarioRunner.h"

#include "harness/ScenarioError.h"

#include "harness/TouchInjector.h"
#include "platform/base/NSRunLoop.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/uikit/AlertPanelView.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewRenderer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace {
// The controllers on screen: each with its children indented, and what it presents after
// "presents".
std::string controllerTree(const UIViewController& controller, const std::string& indent) {
    std::string text = indent + controller.className() + "\n";
    for (const auto& child : controller.childViewControllers()) {
        text += controllerTree(*child, indent + "  ");
    }
    if (auto presented = controller.presentedViewController()) {
        text += indent + "presents\n" + controllerTree(*presented, indent + "  ");
    }
    return text;
}
// Where a finger would tap the button of that title on the visible alert: a presented
// alert controller, or else the front-most classic alert view.
ErrorOr<CGPoint> alertButtonPoint(const std::string& title) {
    auto window = UIApplication::sharedApplication()->keyWindow();
    auto top = window ? window->rootViewController() : nullptr;
    while (top && top->presentedViewController()) {
        top = top->presentedViewController();
    }
    std::shared_ptr<AlertPanelView> panel;
    std::string alertTitle;
    if (auto alert = std::dynamic_pointer_cast<UIAlertController>(top)) {
        panel = std::dynamic_pointer_cast<AlertPanelView>(alert->view());
        alertTitle = alert->title();
    } else if (window) {
        auto subviews = window->subviews();
        for (auto it = subviews.rbegin(); it != subviews.rend() && !panel; ++it) {
            if (auto alert = std::dynamic_pointer_cast<UIAlertView>(*it)) {
                alertTitle = alert->title();
                for (const auto& subview : alert->subviews()) {
                    if (auto found = std::dynamic_pointer_cast<AlertPanelView>(subview)) {
                        panel = found;
                    }
                }
            }
        }
    }
    if (!panel) {
        return makeError(ScenarioErrorDomain, ScenarioErrorCommandFailed,
                         "there is no alert on screen to tap '" + title + "' on");
    }
    auto rect = panel->buttonRectForTitle(title);
    if (!rect) {
        return makeError(ScenarioErrorDomain, ScenarioErrorCommandFailed,
                         "the alert '" + alertTitle + "' has no button '" + title + "'");
    }
    return panel->convertPointToView(CGPointMake(CGRectGetMidX(*rect), CGRectGetMidY(*rect)),
                                     nullptr);
}

// The screen the user sees: the key window's root, followed through what it presents and,
// for a navigation controller, its top screen.
std::shared_ptr<UIViewController> topScreen(std::shared_ptr<UIViewController> controller) {
    while (controller) {
        if (auto presented = controller->presentedViewController()) {
            controller = std::move(presented);
        } else if (const auto navigation =
                       std::dynamic_pointer_cast<UINavigationController>(controller);
                   navigation && navigation->topViewController()) {
            controller = navigation->topViewController();
        } else {
            break;
        }
    }
    return controller;
}

// The arguments as numbers, one of each kind; an error names the first word that is not
// one, or not in its kind's range.
ErrorOr<std::vector<double>> numbers(const std::vector<std::string>& arguments,
                                     const std::vector<ScenarioRunner::Number>& kinds) {
    using Number = ScenarioRunner::Number;
    const auto malformed = [](const std::string& problem) {
        return makeError(ScenarioErrorDomain, ScenarioErrorMalformedLine, problem);
    };
    if (arguments.size() > kinds.size()) {
        return malformed("takes at most " + std::to_string(kinds.size()) + " numbers");
    }
    std::vector<double> values;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        double value = 0;
        const auto [end, status] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (status != std::errc() || end != word.data() + word.size() || !std::isfinite(value)) {
            return malformed("'" + word + "' is not a number");
        }
        if (kinds[i] == Number::Distance && value <= 0) {
            return malformed("'" + word + "' is not a positive distance");
        }
        if (kinds[i] == Number::Seconds && value < 0) {
            return malformed("'" + word + "' cannot be negative");
        }
        if (kinds[i] == Number::Seconds && value > ScenarioRunner::kMaxSeconds) {
            return malformed("'" + word + "' is longer than " +
                             std::to_string(int(ScenarioRunner::kMaxSeconds)) + " seconds");
        }
        values.push_back(value);
    }
    return values;
}

// Checks that the arguments are numbers of those kinds.
ScenarioRunner::Check numbersCheck(std::vector<ScenarioRunner::Number> kinds) {
    return [kinds = std::move(kinds)](const std::vector<std::string>& arguments) -> ErrorOr<void> {
        if (auto values = numbers(arguments, kinds); values.hasError()) {
            return values.error();
        }
        return {};
    };
}

// A screenshot is written as NAME.png into the shots folder: the name must stay a plain
// file name there, whatever the scenario says (a scenario holds no control characters).
ErrorOr<void> checkShotName(const std::string& name) {
    // NAME_MAX, less ".png".
    constexpr size_t kLongest = 251;
    const auto refused = [](const std::string& why) {
        return makeError(ScenarioErrorDomain, ScenarioErrorMalformedLine,
                         "a screenshot name " + why);
    };
    if (name.empty()) {
        return refused("cannot be empty");
    }
    if (name.size() > kLongest) {
        return refused("has at most " + std::to_string(kLongest) + " bytes");
    }
    if (name.find('/') != std::string::npos || name.front() == '.') {
        return refused("is a plain file name, without '/' or a leading '.', not " + name);
    }
    return {};
}

// Plays a gesture for a command: the scenario goes on once the fingers lifted.
void playGesture(const TouchGesture& gesture, ScenarioRunner::Next next,
                 const std::function<void(const std::string&)>& fail) {
    if (!TouchInjector::performAsync(gesture, std::move(next))) {
        fail("there is no key window to touch");
    }
}
} // namespace

ScenarioRunner::ScenarioRunner(Settings settings) : settings_(std::move(settings)) {
    addBuiltInCommands();
}

void ScenarioRunner::addCommand(const std::string& name, Command command) {
    commands_[name] = std::move(command);
}

const ScenarioRunner::Command* ScenarioRunner::command(const std::string& name) const {
    const auto found = commands_.find(name);
    return found == commands_.end() ? nullptr : &found->second;
}

ErrorOr<void> ScenarioRunner::validate(const ScenarioScript& script) const {
    for (const auto& command : script.commands()) {
        auto found = commands_.find(command.name);
        const auto malformed = [&](const std::string& problem) {
            return makeError(ScenarioErrorDomain, ScenarioErrorMalformedLine,
                             "line " + std::to_string(command.line) + ": " + problem);
        };
        if (found == commands_.end()) {
            return malformed("unknown command '" + command.name + "'");
        }
        size_t count = command.arguments.size();
        if (count < found->second.minArguments || count > found->second.maxArguments) {
            return malformed("usage: " + found->second.usage);
        }
        if (found->second.check) {
            if (auto checked = found->second.check(command.arguments); checked.hasError()) {
                return malformed(checked.error()->localizedDescription() +
                                 " (usage: " + found->second.usage + ")");
            }
        }
    }
    return {};
}

void ScenarioRunner::startAfterLaunch(ScenarioScript script) {
    script_ = std::move(script);
    launchObserver_ =
        NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
            UIApplicationDidFinishLaunchingNotification, nullptr, nullptr,
            [this](const NSNotification&) {
                // Go on once the launch, including becoming active, is complete.
                dispatch_async(dispatch_get_main_queue(), [this] {
                    size_t first = 0;
                    const auto& commands = script_.commands();
                    while (first < commands.size() &&
                           commands[first].line < settings_.resumeAtLine) {
                        ++first;
                    }
                    runFrom(first);
                });
            });
}

void ScenarioRunner::runFrom(size_t index) {
    const auto& commands = script_.commands();
    auto application = UIApplication::sharedApplication();
    if (index >= commands.size()) {
        for (const auto& check : endChecks_) {
            if (auto checked = check(); checked.hasError()) {
                std::fprintf(stderr, "scenario end: %s\n",
                             checked.error()->localizedDescription().c_str());
                application->terminate(kExitFailed);
                return;
            }
        }
        application->terminate(0);
        return;
    }
    currentIndex_ = index;
    const ScenarioCommand& command = commands[index];
    auto next = [this, index] {
        dispatch_async(dispatch_get_main_queue(), [this, index] { runFrom(index + 1); });
    };
    auto fail = [line = command.line, application](const std::string& message) {
        std::fprintf(stderr, "scenario line %d: %s\n", line, message.c_str());
        application->terminate(kExitFailed);
    };
    commands_.at(command.name).handler(command.arguments, next, fail);
}

namespace {
UIInterfaceOrientation orientationNamed(const std::string& name) {
    if (name == "portrait") {
        return UIInterfaceOrientation::Portrait;
    }
    if (name == "upside-down") {
        return UIInterfaceOrientation::PortraitUpsideDown;
    }
    if (name == "landscape-left") {
        return UIInterfaceOrientation::LandscapeLeft;
    }
    if (name == "landscape-right") {
        return UIInterfaceOrientation::LandscapeRight;
    }
    return UIInterfaceOrientation::Unknown;
}
} // namespace

void ScenarioRunner::addBuiltInCommands() {
    addCommand("wait", {1, 1, "wait SECONDS",
                        [](const auto& arguments, Next next, auto fail) {
                            const auto seconds = numbers(arguments, {Number::Seconds});
                            if (seconds.hasError()) {
                                fail("wait: " + seconds.error()->localizedDescription());
                                return;
                            }
                            NSRunLoop::mainRunLoop().addTimer(seconds.value()[0], std::move(next));
                        },
                        numbersCheck({Number::Seconds})});
    addCommand("defaults",
               {0, 0, "defaults", [](const auto&, Next next, auto) {
                    auto values =
                        NSUserDefaults::standardUserDefaults()->dictionaryRepresentation();
                    for (const auto& [key, value] : values) {
                        std::printf("%s = %s\n", key.c_str(), value.description().c_str());
                    }
                    std::fflush(stdout);
                    next();
                }});
    addCommand("screens", {0, 0, "screens", [](const auto&, Next next, auto fail) {
                               auto window = UIApplication::sharedApplication()->keyWindow();
                               if (!window || !window->rootViewController()) {
                                   fail("there is no key window with a root controller");
                                   return;
                               }
                               std::fputs(controllerTree(*window->rootViewController(), "").c_str(),
                                          stdout);
                               std::fflush(stdout);
                               next();
                           }});
    addCommand("shot", {1, 1, "shot NAME",
                        [this](const auto& arguments, Next next, auto fail) {
                            if (auto shot = takeScreenshot(arguments[0]); shot.hasError()) {
                                fail(shot.error()->localizedDescription());
                                return;
                            }
                            next();
                        },
                        [](const std::vector<std::string>& arguments) {
                            return checkShotName(arguments[0]);
                        }});
    addCommand("alert",
               {1, 1, "alert \"Button title\"", [](const auto& arguments, Next next, auto fail) {
                    auto point = alertButtonPoint(arguments[0]);
                    if (point.hasError()) {
                        fail(point.error()->localizedDescription());
                        return;
                    }
                    playGesture(TouchGesture::tap(point.value()), std::move(next), fail);
                }});
    addCommand("relaunch", {0, 0, "relaunch", [this](const auto&, Next, auto) { relaunch(); }});
    addCommand("orientation",
               {1, 1, "orientation portrait|upside-down|landscape-left|landscape-right",
                [](const auto& arguments, Next next, auto) {
                    UIApplication::sharedApplication()->rotateToInterfaceOrientation(
                        orientationNamed(arguments[0]));
                    next();
                },
                [](const std::vector<std::string>& arguments) -> ErrorOr<void> {
                    if (orientationNamed(arguments[0]) == UIInterfaceOrientation::Unknown) {
                        return makeError(ScenarioErrorDomain, ScenarioErrorMalformedLine,
                                         "'" + arguments[0] + "' is not an orientation");
                    }
                    return {};
                }});
    addTouchCommands();
}

void ScenarioRunner::addTouchCommands() {
    addCommand("tap", {1, 1, "tap \"LABEL\"", [](const auto& arguments, Next next, auto fail) {
                           const std::string& label = arguments[0];
                           const auto window = UIApplication::sharedApplication()->keyWindow();
                           const auto views = TouchInjector::viewsWithLabel(window, label);
                           if (views.empty()) {
                               fail("no view labelled \"" + label + "\" can be tapped");
                               return;
                           }
                           if (views.size() > 1) {
                               fail(std::to_string(views.size()) + " views labelled \"" + label +
                                    "\" can be tapped; the label must name exactly one");
                               return;
                           }
                           playGesture(TouchGesture::tap(TouchInjector::tapPointOfView(*views[0])),
                                       std::move(next), fail);
                       }});
    using enum Number;
    addGestureCommand("tap-at", "tap-at X Y", 2, {Coordinate, Coordinate},
                      [](const auto& v) { return TouchGesture::tap(CGPointMake(v[0], v[1])); });
    addGestureCommand(
        "long-press", "long-press X Y SECONDS", 3, {Coordinate, Coordinate, Seconds},
        [](const auto& v) { return TouchGesture::longPress(CGPointMake(v[0], v[1]), v[2]); });
    addGestureCommand("drag", "drag X1 Y1 X2 Y2 [SECONDS]", 4,
                      {Coordinate, Coordinate, Coordinate, Coordinate, Seconds}, [](const auto& v) {
                          return TouchGesture::drag(CGPointMake(v[0], v[1]),
                                                    CGPointMake(v[2], v[3]), v[4]);
                      });
    addGestureCommand("press-drag", "press-drag X1 Y1 X2 Y2 HOLD [SECONDS]", 5,
                      {Coordinate, Coordinate, Coordinate, Coordinate, Seconds, Seconds},
                      [](const auto& v) {
                          return TouchGesture::pressAndDrag(CGPointMake(v[0], v[1]),
                                                            CGPointMake(v[2], v[3]), v[4], v[5]);
                      });
    addGestureCommand("pinch", "pinch X Y FROM_DISTANCE TO_DISTANCE [SECONDS]", 4,
                      {Coordinate, Coordinate, Distance, Distance, Seconds}, [](const auto& v) {
                          return TouchGesture::pinch(CGPointMake(v[0], v[1]), v[2], v[3], v[4]);
                      });
    addGestureCommand("rotate", "rotate X Y RADIUS RADIANS [SECONDS]", 4,
                      {Coordinate, Coordinate, Distance, Angle, Seconds}, [](const auto& v) {
                          return TouchGesture::rotate(CGPointMake(v[0], v[1]), v[2], v[3], v[4]);
                      });
    addCommand("type", {1, 1, "type \"TEXT\"", [](const auto& arguments, Next next, auto fail) {
                            // Key by key on the keyboard, into whatever has it.
                            if (auto typed = UIKeyboard::shared().typeText(arguments[0]);
                                typed.hasError()) {
                                fail("type: " + typed.error()->localizedDescription());
                                return;
                            }
                            next();
                        }});
    addCommand("delete",
               {0, 1, "delete [COUNT]",
                [](const auto& arguments, Next next, auto fail) {
                    // The keyboard's delete key, pressed that many times.
                    const int count = arguments.empty() ? 1 : std::stoi(arguments[0]);
                    for (int press = 0; press < count; ++press) {
                        if (auto deleted = UIKeyboard::shared().deleteBackward();
                            deleted.hasError()) {
                            fail("delete: " + deleted.error()->localizedDescription());
                            return;
                        }
                    }
                    next();
                },
                [](const std::vector<std::string>& arguments) -> ErrorOr<void> {
                    const bool counted =
                        arguments.empty() ||
                        (!arguments[0].empty() && arguments[0].size() <= 3 &&
                         std::all_of(arguments[0].begin(), arguments[0].end(),
                                     [](char c) { return c >= '0' && c <= '9'; }) &&
                         std::stoi(arguments[0]) >= 1 && std::stoi(arguments[0]) <= kMaxDeletes);
                    if (!counted) {
                        return makeError(ScenarioErrorDomain, ScenarioErrorMalformedLine,
                                         "'" + arguments[0] + "' is not a count from 1 to " +
                                             std::to_string(kMaxDeletes));
                    }
                    return {};
                }});
    addCommand("expect-screen",
               {1, 1, "expect-screen CLASS", [](const auto& arguments, Next next, auto fail) {
                    const auto window = UIApplication::sharedApplication()->keyWindow();
                    const auto screen = topScreen(window ? window->rootViewController() : nullptr);
                    if (!screen) {
                        fail("expect-screen: there is no key window with a root controller");
                        return;
                    }
                    if (screen->className() != arguments[0]) {
                        fail("expected screen " + arguments[0] + ", found " + screen->className());
                        return;
                    }
                    next();
                }});
}

void ScenarioRunner::addGestureCommand(const std::string& name, const std::string& usage,
                                       size_t minArguments, std::vector<Number> kinds,
                                       Gesture gesture) {
    const size_t maxArguments = kinds.size();
    Check check = numbersCheck(kinds);
    addCommand(name, {minArguments, maxArguments, usage,
                      [name, kinds = std::move(kinds),
                       gesture = std::move(gesture)](const auto& arguments, Next next, auto fail) {
                          auto values = numbers(arguments, kinds);
                          if (values.hasError()) {
                              fail(name + ": " + values.error()->localizedDescription());
                              return;
                          }
                          values.value().resize(kinds.size(), kDefaultGestureSeconds);
                          playGesture(gesture(values.value()), std::move(next), fail);
                      },
                      std::move(check)});
}

ErrorOr<void> ScenarioRunner::takeScreenshot(const std::string& name) const {
    const auto failed = [](const std::string& why) {
        return makeError(ScenarioErrorDomain, ScenarioErrorCommandFailed, why);
    };
    auto window = UIApplication::sharedApplication()->keyWindow();
    if (!window) {
        return failed("there is no key window to take a screenshot of");
    }
    if (auto checked = checkShotName(name); checked.hasError()) {
        return checked.error();
    }
    auto image = ViewRenderer::snapshotWindow(*window, UIScreen::mainScreen()->scale());
    auto png = UIImagePNGRepresentation(image);
    std::error_code ec;
    std::filesystem::create_directories(settings_.shots, ec);
    std::string path = (std::filesystem::path(settings_.shots) / (name + ".png")).string();
    if (!png || !NSData::writeToFileAtomically(*png, path)) {
        return failed("cannot write the screenshot " + path);
    }
    EventLog::record("shot", path);
    return {};
}

void ScenarioRunner::relaunch() {
    int resumeLine = script_.commands()[currentIndex_].line + 1;
    // The app ends as at termination (defaults saved); a new process of the program then
    // starts on the same home and goes on after this line, as a second launch would.
    UIApplication::sharedApplication()->terminate(0);
    std::fflush(stdout);
    std::fflush(stderr);
    if (settings_.relaunchProgram) {
        settings_.relaunchProgram(resumeLine);
    }
    std::fputs("relaunch: cannot start the program again\n", stderr);
    std::_Exit(kExitFailed);
}
