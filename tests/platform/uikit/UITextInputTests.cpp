// Text fields and text views under the keyboard: who has it, what its notifications say,
// what its keys do to the text and what the delegates are asked and told.
#include "harness/TouchInjector.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/graphics/CGImage.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UITextView.h"
#include "platform/uikit/ViewRenderer.h"
#include "tests/platform/uikit/TouchFixture.h"
#include "tests/support/TextTest.h"

namespace {

using Log = std::vector<std::string>;

// Logs every question and message, answering NO where told to.
class RecordingFieldDelegate : public UITextFieldDelegate {
public:
    explicit RecordingFieldDelegate(Log& log) : log_(log) {}
    bool textFieldShouldBeginEditing(UITextField&) override { return log("should begin"); }
    void textFieldDidBeginEditing(UITextField&) override { log("did begin"); }
    bool textFieldShouldEndEditing(UITextField&) override {
        return log("should end") && !refusesToEnd;
    }
    void textFieldDidEndEditing(UITextField&) override { log("did end"); }
    bool
    textFieldShouldChangeCharactersInRangeReplacementString(UITextField&, NSRange range,
                                                            const std::string& string) override {
        log("change " + std::to_string(range.location) + "+" + std::to_string(range.length) + " '" +
            string + "'");
        return string != refusedText;
    }
    bool textFieldShouldReturn(UITextField&) override { return log("return") && returns; }

    bool refusesToEnd = false;
    bool returns = true;
    std::string refusedText = "!";

private:
    bool log(const std::string& entry) {
        log_.push_back(entry);
        return true;
    }
    Log& log_;
};

class TextInputTest : public TouchTest {
protected:
    TextInputTest() {
        for (const char* name : {UIKeyboardWillShowNotification, UIKeyboardWillHideNotification}) {
            NSNotificationCenter::defaultCenter()->addObserverSelectorNameObject(
                target,
                [this](const NSNotification& notification) {
                    keyboardNotifications.push_back(notification.name());
                    endFrame = UIKeyboard::frameEndOfNotification(notification);
                    curve = UIKeyboard::curveOfNotification(notification);
                    duration = UIKeyboard::durationOfNotification(notification);
                },
                name, nullptr);
        }
    }

    std::shared_ptr<UITextField> addField(const CGRect& frame) {
        auto field = UITextField::initWithFrame(frame);
        field->setDelegate(fieldDelegate);
        for (const auto& [event, name] :
             {std::pair{UIControlEventEditingDidBegin, "event begin"},
              std::pair{UIControlEventEditingChanged, "event changed"},
              std::pair{UIControlEventEditingDidEnd, "event end"},
              std::pair{UIControlEventEditingDidEndOnExit, "event exit"}}) {
            field->addTargetActionForControlEvents(
                target, [this, name = std::string(name)](UIControl&) { log.push_back(name); },
                event);
        }
        root->addSubview(field);
        return field;
    }

    std::shared_ptr<RecordingFieldDelegate> fieldDelegate =
        std::make_shared<RecordingFieldDelegate>(log);
    Log keyboardNotifications;
    CGRect endFrame{};
    long curve = 0;
    double duration = 0;
};

TEST_F(TextInputTest, TappingAFieldBringsTheKeyboardUpAtTheBottomOfTheScreen) {
    const auto field = addField(CGRectMake(20, 40, 200, 30));
    TouchInjector::tapAt(CGPointMake(60, 55));

    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(log, (Log{"should begin", "did begin", "event begin"}));
    EXPECT_EQ(keyboardNotifications, (Log{UIKeyboardWillShowNotification}));
    // The screen's bounds, not the window's: the keyboard belongs to the screen.
    const CGRect screen = UIScreen::mainScreen()->bounds();
    EXPECT_EQ(endFrame, CGRectMake(0, screen.size.height - UIKeyboard::kPortraitHeight,
                                   screen.size.width, UIKeyboard::kPortraitHeight));
    EXPECT_EQ(curve, UIKeyboard::kAnimationCurve);
    EXPECT_DOUBLE_EQ(duration, UIKeyboard::kAnimationDuration);
    EXPECT_TRUE(UIKeyboard::shared().isVisible());
}

TEST_F(TextInputTest, KeysAskTheDelegateAndDeleteWholeCharacters) {
    const auto field = addField(CGRectMake(20, 40, 200, 30));
    ASSERT_TRUE(field->becomeFirstResponder());
    log.clear();

    // The refused key leaves the text as it was and announces nothing.
    ASSERT_FALSE(UIKeyboard::shared().typeText("a!é").hasError());
    ASSERT_FALSE(UIKeyboard::shared().deleteBackward().hasError());
    EXPECT_EQ(field->text(), "a");
    EXPECT_EQ(log, (Log{"change 0+0 'a'", "event changed", "change 1+0 '!'", "change 1+0 'é'",
                        "event changed", "change 1+2 ''", "event changed"}));
}

TEST_F(TextInputTest, TheReturnKeyEndsOnExitOnlyWhenTheDelegateAgreesAndKeepsTheKeyboard) {
    const auto field = addField(CGRectMake(20, 40, 200, 30));
    ASSERT_TRUE(field->becomeFirstResponder());
    for (const bool returns : {true, false}) {
        log.clear();
        fieldDelegate->returns = returns;
        ASSERT_FALSE(UIKeyboard::shared().typeText("\n").hasError());
        EXPECT_EQ(log, (returns ? Log{"return", "event exit"} : Log{"return"}));
        EXPECT_EQ(field->text(), "");
        EXPECT_TRUE(field->isFirstResponder());
    }
}

TEST_F(TextInputTest, HandingOverBetweenFieldsKeepsTheKeyboardUp) {
    const auto first = addField(CGRectMake(20, 40, 200, 30));
    const auto second = addField(CGRectMake(20, 100, 200, 30));
    ASSERT_TRUE(first->becomeFirstResponder());
    log.clear();

    TouchInjector::tapAt(CGPointMake(60, 115));
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_FALSE(first->isEditing());
    EXPECT_EQ(log, (Log{"should begin", "should end", "did end", "event end", "did begin",
                        "event begin"}));
    EXPECT_EQ(keyboardNotifications, (Log{UIKeyboardWillShowNotification}));

    ASSERT_FALSE(UIKeyboard::shared().typeText("2").hasError());
    EXPECT_EQ(first->text(), "");
    EXPECT_EQ(second->text(), "2");
}

TEST_F(TextInputTest, ARefusalToEndKeepsTheKeyboardUnlessEditingEndsByForce) {
    const auto field = addField(CGRectMake(20, 40, 200, 30));
    const auto other = addField(CGRectMake(20, 100, 200, 30));
    ASSERT_TRUE(field->becomeFirstResponder());
    fieldDelegate->refusesToEnd = true;

    EXPECT_FALSE(other->becomeFirstResponder());
    EXPECT_FALSE(root->endEditing(false));
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(UIKeyboard::shared().isVisible());

    log.clear();
    // Forced: not asked, but told.
    EXPECT_TRUE(root->endEditing(true));
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(log, (Log{"did end", "event end"}));
    EXPECT_EQ(keyboardNotifications,
              (Log{UIKeyboardWillShowNotification, UIKeyboardWillHideNotification}));
    // Hidden, it rests just below the screen.
    EXPECT_EQ(endFrame.origin.y, UIScreen::mainScreen()->bounds().size.height);
}

TEST_F(TextInputTest, AFirstResponderTakenOffTheScreenGivesUpTheKeyboard) {
    const auto panel = addView(CGRectMake(0, 0, 320, 200));
    const auto field = UITextField::initWithFrame(CGRectMake(10, 10, 100, 30));
    panel->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());

    panel->removeFromSuperview();
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_FALSE(UIKeyboard::shared().isVisible());
    EXPECT_TRUE(UIKeyboard::shared().typeText("x").hasError());
}

TEST_F(TextInputTest, TheKeyboardTypesOnlyKeysItHas) {
    const auto field = addField(CGRectMake(20, 40, 200, 30));
    field->setKeyboardType(UIKeyboardType::NumberPad);

    // Nothing has the keyboard yet.
    const auto nothing = UIKeyboard::shared().typeText("1");
    ASSERT_TRUE(nothing.hasError());
    EXPECT_EQ(nothing.error()->code(), UIKeyboardErrorNoKeyInput);

    ASSERT_TRUE(field->becomeFirstResponder());
    const auto letter = UIKeyboard::shared().typeText("12a3");
    ASSERT_TRUE(letter.hasError());
    EXPECT_EQ(letter.error()->code(), UIKeyboardErrorNoSuchKey);
    EXPECT_EQ(field->text(), "12");
    EXPECT_TRUE(UIKeyboard::shared().typeText("\n").hasError());

    const auto malformed = UIKeyboard::shared().typeText("\xff");
    ASSERT_TRUE(malformed.hasError());
    EXPECT_EQ(malformed.error()->code(), UIKeyboardErrorMalformedText);
}

TEST_F(TextInputTest, ScreenshotsOfTheKeyWindowShowTheKeyboardWhileItIsUp) {
    const auto screen = UIWindow::initWithFrame(UIScreen::mainScreen()->bounds());
    const auto page = UIView::initWithFrame(screen->bounds());
    page->setBackgroundColor(UIColor::whiteColor());
    screen->addSubview(page);
    screen->makeKeyAndVisible();
    const auto field = UITextField::initWithFrame(CGRectMake(20, 40, 200, 30));
    page->addSubview(field);
    // A corner of the keyboard's background, between its keys, and a key of its top row.
    const double bottom = screen->bounds().size.height;
    const CGPoint corner = CGPointMake(2, bottom - 2);
    const CGPoint key = CGPointMake(20, bottom - UIKeyboard::kPortraitHeight + 25);
    const auto pixelAt = [&](const CGPoint& point) {
        // The colour alone: a screenshot is opaque.
        return ViewRenderer::snapshotWindow(*screen, 1)->cgImage()->pixelAt(point.x, point.y) &
               0xffffffu;
    };
    EXPECT_EQ(pixelAt(corner), 0xffffffu);
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_NE(pixelAt(corner), 0xffffffu);
    // A key is white again, the page above the keyboard untouched.
    EXPECT_EQ(pixelAt(key), 0xffffffu);
    EXPECT_EQ(pixelAt(CGPointMake(300, 60)), 0xffffffu);
    field->resignFirstResponder();
    EXPECT_EQ(pixelAt(corner), 0xffffffu);
}

TEST_F(TextInputTest, AFieldShowsItsPlaceholderInGreyThenItsTextWithACaretWhileEditing) {
    const auto field = addField(CGRectMake(20, 40, 200, 30));
    field->setPlaceholder("Width");
    // Counts of dark (text), grey (placeholder) and blue (caret) pixels.
    struct Ink {
        int dark = 0, grey = 0, blue = 0;
    };
    const auto ink = [&] {
        const CGImageRef image =
            renderOnWhite(CGSizeMake(200, 30), [&] { field->drawRect(field->bounds()); });
        Ink counts;
        for (size_t y = 0; y < image->height(); ++y) {
            for (size_t x = 0; x < image->width(); ++x) {
                const uint32_t p = image->pixelAt(x, y);
                const int r = int(p >> 16 & 0xff), g = int(p >> 8 & 0xff), b = int(p & 0xff);
                counts.dark += r < 60 && g < 60 && b < 60;
                counts.grey += r > 150 && r < 215 && r == g && g == b;
                counts.blue += b > 200 && r < 40;
            }
        }
        return counts;
    };
    const Ink placeholder = ink();
    EXPECT_GT(placeholder.grey, 20);
    EXPECT_EQ(placeholder.dark, 0);
    EXPECT_EQ(placeholder.blue, 0);

    ASSERT_TRUE(field->becomeFirstResponder());
    ASSERT_FALSE(UIKeyboard::shared().typeText("640").hasError());
    const Ink typed = ink();
    EXPECT_GT(typed.dark, 20);
    EXPECT_GT(typed.blue, 10);
    field->resignFirstResponder();
    EXPECT_EQ(ink().blue, 0);
}

TEST_F(TextInputTest, ALabelOrAPlainViewNeverTakesTheKeyboard) {
    const auto view = addView(CGRectMake(0, 0, 50, 50));
    EXPECT_FALSE(view->becomeFirstResponder());
    EXPECT_TRUE(view->resignFirstResponder());
    EXPECT_FALSE(UIKeyboard::shared().isVisible());
    EXPECT_TRUE(keyboardNotifications.empty());
}

// Logs what a text view tells, and where its content offset was when the text changed.
class RecordingViewDelegate : public UITextViewDelegate {
public:
    explicit RecordingViewDelegate(Log& log) : log_(log) {}
    bool textViewShouldChangeTextInRangeReplacementText(UITextView&, NSRange range,
                                                        const std::string& text) override {
        log_.push_back("change " + std::to_string(range.location) + "+" +
                       std::to_string(range.length) + " '" + text + "'");
        return text != "!";
    }
    void textViewDidChange(UITextView& textView) override {
        log_.push_back("did change '" + textView.text() + "'");
    }
    void textViewDidEndEditing(UITextView&) override { log_.push_back("did end"); }

private:
    Log& log_;
};

class TextViewTest : public TextInputTest {
protected:
    TextViewTest() {
        textView->setFont(UIFont::systemFontOfSize(20));
        textView->setDelegate(viewDelegate);
        root->addSubview(textView);
    }

    std::shared_ptr<UITextView> textView = UITextView::initWithFrame(CGRectMake(10, 10, 200, 80));
    std::shared_ptr<RecordingViewDelegate> viewDelegate =
        std::make_shared<RecordingViewDelegate>(log);
};

TEST_F(TextViewTest, ATapGivesItTheKeyboardAndKeysInsertAtTheCaret) {
    textView->setText("ab");
    TouchInjector::tapAt(CGPointMake(50, 40));
    ASSERT_TRUE(textView->isFirstResponder());

    textView->setSelectedRange(NSMakeRange(1, 0));
    ASSERT_FALSE(UIKeyboard::shared().typeText("X!").hasError());
    ASSERT_FALSE(UIKeyboard::shared().deleteBackward().hasError());
    ASSERT_FALSE(UIKeyboard::shared().typeText("Y").hasError());
    EXPECT_EQ(textView->text(), "aYb");
    EXPECT_EQ(textView->selectedRange(), NSMakeRange(2, 0));
    EXPECT_EQ(log, (Log{"change 1+0 'X'", "did change 'aXb'", "change 2+0 '!'", "change 1+1 ''",
                        "did change 'ab'", "change 1+0 'Y'", "did change 'aYb'"}));
}

TEST_F(TextViewTest, LineFeedsGrowTheContentAndTypingKeepsTheCaretInView) {
    ASSERT_TRUE(textView->becomeFirstResponder());
    const double oneLine = textView->contentSize().height;
    EXPECT_GT(oneLine, textView->font()->lineHeight());

    // The return key types a line feed, and the empty line after it already counts.
    ASSERT_FALSE(UIKeyboard::shared().typeText("a\n").hasError());
    const double twoLines = textView->contentSize().height;
    EXPECT_NEAR(twoLines - oneLine, textView->font()->lineHeight(), 1);

    ASSERT_FALSE(UIKeyboard::shared().typeText("b\nc\nd\ne").hasError());
    const double bottom = textView->contentOffset().y + textView->bounds().size.height;
    EXPECT_GT(textView->contentOffset().y, 0);
    EXPECT_LE(bottom, textView->contentSize().height);
    EXPECT_GE(bottom, textView->contentSize().height - textView->textContainerInset().bottom - 1);
}

TEST_F(TextViewTest, SelectionsStayWithinTheTextOnWholeCharacters) {
    textView->setText("aé");
    EXPECT_EQ(textView->selectedRange(), NSMakeRange(3, 0));
    textView->setSelectedRange(NSMakeRange(2, 5));
    EXPECT_EQ(textView->selectedRange(), NSMakeRange(1, 2));
    textView->setSelectedRange(NSMakeRange(9, 0));
    EXPECT_EQ(textView->selectedRange(), NSMakeRange(3, 0));
}

TEST_F(TextViewTest, AViewThatCannotBeEditedGivesUpTheKeyboard) {
    ASSERT_TRUE(textView->becomeFirstResponder());
    textView->setEditable(false);
    EXPECT_FALSE(textView->isFirstResponder());
    EXPECT_EQ(log, (Log{"did end"}));
    EXPECT_FALSE(textView->becomeFirstResponder());
}

} // namespace
