// The scenario's touch commands and screen check, run in this process against a small
// screen under mock time.
#include "harness/ScenarioError.h"
#include "harness/ScenarioRunner.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UICollectionView.h"
#include "platform/uikit/UICollectionViewFlowLayout.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UILongPressGestureRecognizer.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIPinchGestureRecognizer.h"
#include "platform/uikit/UIRotationGestureRecognizer.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TaskEnvironment.h"

#include <gtest/gtest.h>

namespace {

class ScreenA : public UIViewController {
    NS_OBJECT(ScreenA)
};
class ScreenB : public UIViewController {
    NS_OBJECT(ScreenB)
};

struct Outcome {
    bool finished = false;
    std::string failure;
};

class ScenarioTouchCommandsTest : public ::testing::Test {
protected:
    ScenarioTouchCommandsTest() {
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
    }
    // The application outlives the test: leave it upright.
    void TearDown() override {
        UIApplication::sharedApplication()->rotateToInterfaceOrientation(
            UIInterfaceOrientation::Portrait);
    }

    // Runs one command and the run loop long enough for any gesture to finish.
    Outcome run(const std::string& name, const std::vector<std::string>& arguments) {
        Outcome outcome;
        const ScenarioRunner::Command* command = runner.command(name);
        EXPECT_NE(command, nullptr) << name;
        if (command) {
            command->handler(
                arguments, [&outcome] { outcome.finished = true; },
                [&outcome](const std::string& message) { outcome.failure = message; });
        }
        environment.fastForwardBy(2);
        return outcome;
    }

    std::shared_ptr<UIButton> addButton(const std::string& title, const CGRect& frame) {
        auto button = UIButton::initWithFrame(frame);
        button->setTitleForState(title, UIControlStateNormal);
        button->addTargetActionForControlEvents(
            target, [this, title](UIControl&) { tapped.push_back(title); },
            UIControlEventTouchUpInside);
        screen->view()->addSubview(button);
        return button;
    }

    TaskEnvironment environment;
    ScenarioRunner runner{ScenarioRunner::Settings{}};
    std::shared_ptr<NSObject> target = std::make_shared<NSObject>();
    std::vector<std::string> tapped;
    std::shared_ptr<UIWindow> window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<ScreenA> screen = std::make_shared<ScreenA>();
};

TEST_F(ScenarioTouchCommandsTest, TapByLabelNeedsExactlyOneView) {
    addButton("Save", CGRectMake(10, 10, 100, 40));
    auto load = addButton("Load", CGRectMake(10, 60, 100, 40));

    Outcome saved = run("tap", {"Save"});
    EXPECT_TRUE(saved.finished);
    EXPECT_EQ(saved.failure, "");
    EXPECT_EQ(tapped, std::vector<std::string>{"Save"});

    load->setHidden(true);
    Outcome absent = run("tap", {"Load"});
    EXPECT_FALSE(absent.finished);
    EXPECT_EQ(absent.failure, "no view labelled \"Load\" can be tapped");

    addButton("Save", CGRectMake(10, 110, 100, 40));
    Outcome ambiguous = run("tap", {"Save"});
    EXPECT_FALSE(ambiguous.finished);
    EXPECT_EQ(ambiguous.failure,
              "2 views labelled \"Save\" can be tapped; the label must name exactly one");
    EXPECT_EQ(tapped.size(), 1u);
}

TEST_F(ScenarioTouchCommandsTest, GestureCommandsDriveTheRecognisers) {
    const auto view = screen->view();
    std::vector<std::string> log;
    CGPoint translation{};
    double scale = 0, rotation = 0;
    auto pan = UIPanGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
        translation = static_cast<UIPanGestureRecognizer&>(r).translationInView(nullptr);
    });
    auto pinch =
        UIPinchGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
            scale = static_cast<UIPinchGestureRecognizer&>(r).scale();
        });
    auto turn =
        UIRotationGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
            rotation = static_cast<UIRotationGestureRecognizer&>(r).rotation();
        });
    auto press =
        UILongPressGestureRecognizer::initWithTargetAction(target, [&](UIGestureRecognizer& r) {
            if (r.state() == UIGestureRecognizerState::Began) {
                log.push_back("press");
            }
        });
    view->addGestureRecognizer(pan);
    view->addGestureRecognizer(pinch);
    view->addGestureRecognizer(turn);
    view->addGestureRecognizer(press);
    addButton("Here", CGRectMake(200, 400, 100, 40));

    EXPECT_TRUE(run("drag", {"10", "10", "110", "60"}).finished);
    EXPECT_EQ(translation, CGPointMake(100, 50));
    EXPECT_TRUE(run("pinch", {"160", "240", "100", "50", "0.5"}).finished);
    EXPECT_DOUBLE_EQ(scale, 0.5);
    EXPECT_TRUE(run("rotate", {"160", "240", "60", "-0.4"}).finished);
    EXPECT_NEAR(rotation, -0.4, 1e-9);
    EXPECT_TRUE(run("long-press", {"50", "50", "0.7"}).finished);
    EXPECT_EQ(log, std::vector<std::string>{"press"});
    EXPECT_TRUE(run("tap-at", {"250", "420"}).finished);
    EXPECT_EQ(tapped, std::vector<std::string>{"Here"});
}

// Thirty items, three 100-point squares to a line.
class ThirtyItems : public UICollectionViewDataSource {
public:
    long collectionViewNumberOfItemsInSection(UICollectionView&, long) override { return 30; }
    std::shared_ptr<UICollectionViewCell>
    collectionViewCellForItemAtIndexPath(UICollectionView& view,
                                         const NSIndexPath& indexPath) override {
        return view.dequeueReusableCellWithReuseIdentifierForIndexPath("cell", indexPath);
    }
};

TEST_F(ScenarioTouchCommandsTest, DragScrollsAGridAndTapAtChoosesACell) {
    auto layout = std::make_shared<UICollectionViewFlowLayout>();
    layout->setItemSize(CGSizeMake(100, 100));
    auto grid =
        UICollectionView::initWithFrameCollectionViewLayout(CGRectMake(0, 0, 320, 480), layout);
    grid->registerClassForCellWithReuseIdentifier<UICollectionViewCell>("cell");
    auto items = std::make_shared<ThirtyItems>();
    grid->setDataSource(items);
    screen->view()->addSubview(grid);
    grid->reloadData();

    EXPECT_TRUE(run("drag", {"160", "400", "160", "100", "0.3"}).finished);
    EXPECT_GT(grid->contentOffset().y, 300);
    const auto under = grid->indexPathForItemAtPoint(grid->convertPointFromView({50, 50}, nullptr));
    ASSERT_TRUE(under);
    EXPECT_GT(under->item(), 2);
    EXPECT_TRUE(grid->indexPathsForSelectedItems().empty());

    EXPECT_TRUE(run("tap-at", {"50", "50"}).finished);
    EXPECT_EQ(grid->indexPathsForSelectedItems(), std::vector<NSIndexPath>{*under});
}

// Two album rows, telling which is chosen.
class Albums : public UITableViewDataSource, public UITableViewDelegate {
public:
    long tableViewNumberOfRowsInSection(UITableView&, long) override { return 2; }
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(UITableView& table, const NSIndexPath& path) override {
        auto cell = table.dequeueReusableCellWithIdentifier("album");
        if (!cell) {
            cell = UITableViewCell::initWithStyleReuseIdentifier(UITableViewCellStyle::Default,
                                                                 "album");
        }
        cell->textLabel()->setText(path.row() == 0 ? "Recently Added" : "All Photos");
        return cell;
    }
    void tableViewDidSelectRowAtIndexPath(UITableView&, const NSIndexPath& path) override {
        chosen.push_back(path.row());
    }
    std::vector<long> chosen;
};

TEST_F(ScenarioTouchCommandsTest, TapByTitleChoosesATableRow) {
    auto table =
        UITableView::initWithFrameStyle(CGRectMake(0, 100, 320, 88), UITableViewStyle::Plain);
    auto albums = std::make_shared<Albums>();
    table->setDataSource(albums);
    table->setDelegate(albums);
    screen->view()->addSubview(table);
    table->reloadData();

    EXPECT_EQ(run("tap", {"All Photos"}).failure, "");
    EXPECT_EQ(albums->chosen, std::vector<long>{1});
}

TEST_F(ScenarioTouchCommandsTest, MalformedArgumentsFailTheRun) {
    struct Case {
        const char* command;
        std::vector<std::string> arguments;
        const char* failure;
    };
    const Case cases[] = {
        {"tap-at", {"1", "x"}, "tap-at: 'x' is not a number"},
        {"tap-at", {"1", "2px"}, "tap-at: '2px' is not a number"},
        {"long-press", {"1", "2", "-1"}, "long-press: '-1' cannot be negative"},
        {"long-press", {"1", "2", "1e9"}, "long-press: '1e9' is longer than 60 seconds"},
        {"drag", {"1", "2", "3", "4", "-0.5"}, "drag: '-0.5' cannot be negative"},
        {"drag", {"1", "2", "3", "4", "61"}, "drag: '61' is longer than 60 seconds"},
        {"press-drag", {"1", "2", "3", "4", "-1"}, "press-drag: '-1' cannot be negative"},
        {"pinch", {"1", "2", "0", "10"}, "pinch: '0' is not a positive distance"},
        {"rotate", {"1", "2", "-5", "0.5"}, "rotate: '-5' is not a positive distance"},
        {"rotate", {"1", "2", "50", "inf"}, "rotate: 'inf' is not a number"},
        {"wait", {"nan"}, "wait: 'nan' is not a number"},
        {"wait", {"1e9"}, "wait: '1e9' is longer than 60 seconds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const Outcome outcome = run(c.command, c.arguments);
        EXPECT_FALSE(outcome.finished);
        EXPECT_EQ(outcome.failure, c.failure);
    }

    auto script = ScenarioScript::parse("drag 1 2 3\n");
    ASSERT_FALSE(script.hasError());
    const auto valid = runner.validate(script.value());
    ASSERT_TRUE(valid.hasError());
    EXPECT_EQ(valid.error()->domain(), ScenarioErrorDomain);
    EXPECT_EQ(valid.error()->code(), ScenarioErrorMalformedLine);
    EXPECT_EQ(valid.error()->localizedDescription(), "line 1: usage: drag X1 Y1 X2 Y2 [SECONDS]");
}

TEST_F(ScenarioTouchCommandsTest, ExpectScreenFollowsPresentationAndNavigation) {
    EXPECT_TRUE(run("expect-screen", {"ScreenA"}).finished);

    auto navigation =
        UINavigationController::initWithRootViewController(std::make_shared<ScreenA>());
    screen->presentViewControllerAnimatedCompletion(navigation, false, nullptr);
    navigation->pushViewControllerAnimated(std::make_shared<ScreenB>(), false);
    EXPECT_TRUE(run("expect-screen", {"ScreenB"}).finished);
    const Outcome wrong = run("expect-screen", {"ScreenA"});
    EXPECT_FALSE(wrong.finished);
    EXPECT_EQ(wrong.failure, "expected screen ScreenA, found ScreenB");

    window.reset();
    EXPECT_EQ(run("expect-screen", {"ScreenA"}).failure,
              "expect-screen: there is no key window with a root controller");
}

} // namespace

namespace {
TEST_F(ScenarioTouchCommandsTest, OrientationTurnsTheScreenAndRejectsUnknownNames) {
    EXPECT_TRUE(run("orientation", {"landscape-right"}).finished);
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarOrientation(),
              UIInterfaceOrientation::LandscapeRight);
    EXPECT_EQ(window->frame(), UIScreen::mainScreen()->bounds());
    EXPECT_GT(window->frame().size.width, window->frame().size.height);
    EXPECT_TRUE(run("orientation", {"portrait"}).finished);
    EXPECT_LT(window->frame().size.width, window->frame().size.height);

    auto script = ScenarioScript::parse("orientation sideways\n");
    ASSERT_FALSE(script.hasError());
    const auto valid = runner.validate(script.value());
    ASSERT_TRUE(valid.hasError());
    EXPECT_EQ(valid.error()->localizedDescription(),
              "line 1: 'sideways' is not an orientation (usage: orientation "
              "portrait|upside-down|landscape-left|landscape-right)");
}
} // namespace

namespace {
TEST_F(ScenarioTouchCommandsTest, TypeGoesThroughTheKeyboardIntoWhatHasIt) {
    EXPECT_EQ(run("type", {"Hello"}).failure, "type: no text field or text view has the keyboard");

    auto field = UITextField::initWithFrame(CGRectMake(20, 40, 200, 30));
    std::vector<std::string> changes;
    field->addTargetActionForControlEvents(
        target,
        [&changes](UIControl& control) {
            changes.push_back(static_cast<UITextField&>(control).text());
        },
        UIControlEventEditingChanged);
    screen->view()->addSubview(field);
    EXPECT_TRUE(run("tap-at", {"100", "55"}).finished);
    EXPECT_TRUE(run("type", {"Hi é"}).finished);
    EXPECT_EQ(field->text(), "Hi é");
    // One change a key, as a finger would make them.
    EXPECT_EQ(changes, (std::vector<std::string>{"H", "Hi", "Hi ", "Hi é"}));

    field->setKeyboardType(UIKeyboardType::NumberPad);
    EXPECT_EQ(run("type", {"7x"}).failure, "type: the number pad has no key for 'x'");
    EXPECT_EQ(field->text(), "Hi é7");
}

TEST_F(ScenarioTouchCommandsTest, DeletePressesTheDeleteKeyInWhatHasTheKeyboard) {
    EXPECT_EQ(run("delete", {}).failure, "delete: no text field or text view has the keyboard");
    auto field = UITextField::initWithFrame(CGRectMake(20, 40, 200, 30));
    field->setText("2350");
    screen->view()->addSubview(field);
    EXPECT_TRUE(run("tap-at", {"100", "55"}).finished);
    EXPECT_TRUE(run("delete", {}).finished);
    EXPECT_EQ(field->text(), "235");
    EXPECT_TRUE(run("delete", {"2"}).finished);
    EXPECT_EQ(field->text(), "2");
    // More presses than characters leave the field empty.
    EXPECT_TRUE(run("delete", {"5"}).finished);
    EXPECT_EQ(field->text(), "");

    for (const char* count : {"0", "101", "two", "-1", "1.5"}) {
        auto script = ScenarioScript::parse(std::string("delete ") + count + "\n");
        ASSERT_FALSE(script.hasError());
        const auto valid = runner.validate(script.value());
        ASSERT_TRUE(valid.hasError()) << count;
        EXPECT_EQ(valid.error()->localizedDescription(),
                  std::string("line 1: '") + count +
                      "' is not a count from 1 to 100 (usage: delete [COUNT])");
    }
}
} // namespace
