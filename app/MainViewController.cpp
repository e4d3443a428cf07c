#include "app/MainViewController.h"

#include "app/ImagePickerViewController.h"
#include "app/SettingsViewController.h"
#include "platform/dispatch/dispatch.h"
#include "platform/foundation/NSBundle.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/WeakAction.h"

namespace {
constexpr unsigned kAllFlexible =
    UIViewAutoresizingFlexibleLeftMargin | UIViewAutoresizingFlexibleWidth |
    UIViewAutoresizingFlexibleRightMargin | UIViewAutoresizingFlexibleTopMargin |
    UIViewAutoresizingFlexibleHeight | UIViewAutoresizingFlexibleBottomMargin;
constexpr unsigned kCaptionMask =
    UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight |
    UIViewAutoresizingFlexibleTopMargin | UIViewAutoresizingFlexibleBottomMargin;

// The top of the first button.
double buttonsTop() {
    return UIScreen::mainScreen()->bounds().size.height / 5.5;
}

const char* const kCaptionKeys[] = {"ZevaraDer", "DavuVov", "user.Settings"};
} // namespace

void MainViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    view()->setBackgroundColor(UIColor::whiteColor());
    addBackImageAndButton();
    addLabel();
}

void MainViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    if (auto navigation = navigationController()) {
        navigation->setNavigationBarHidden(true);
    }
}

void MainViewController::addBackImageAndButton() {
    backImageView_ = UIImageView::initWithFrame(view()->frame());
    backImageView_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                        UIViewAutoresizingFlexibleHeight);
    backImageView_->setImage(UIImage::imageNamed("mainBG.png"));
    backImageView_->setUserInteractionEnabled(true);
    view()->addSubview(backImageView_);

    double width = UIScreen::mainScreen()->bounds().size.width;
    double top = buttonsTop();
    const char* const images[] = {"boardMix.png", "davuVov.png", "setting.png"};
    const long tags[] = {kTemplateTag, kFreeTag, 0};
    const auto menu = self<MainViewController>();
    for (int i = 0; i < 3; ++i) {
        auto button =
            UIButton::initWithFrame(CGRectMake(width * 0.5 - 50, top + 130 * i, 100, 100));
        button->setAutoresizingMask(kAllFlexible);
        button->setImageForState(UIImage::imageNamed(images[i]), UIControlStateNormal);
        button->setTag(tags[i]);
        // Named like its caption, so that a finger (or a screen reader) finds it by name.
        button->setAccessibilityLabel(NSLocalizedString(kCaptionKeys[i], ""));
        if (tags[i] != 0) {
            button->addTargetActionForControlEvents(
                menu, &MainViewController::judgeAuthorizationStatus, UIControlEventTouchUpInside);
        } else {
            button->addTargetActionForControlEvents(menu, &MainViewController::enterSettingVC,
                                                    UIControlEventTouchUpInside);
        }
        backImageView_->addSubview(button);
    }
}

void MainViewController::addLabel() {
    double width = UIScreen::mainScreen()->bounds().size.width;
    double top = buttonsTop();
    for (int i = 0; i < 3; ++i) {
        auto caption = UILabel::initWithFrame(CGRectMake(0, top + 100 + 130 * i, width, 30));
        caption->setAutoresizingMask(kCaptionMask);
        caption->setNumberOfLines(0);
        caption->setTextAlignment(NSTextAlignment::Center);
        caption->setTextColor(UIColor::whiteColor());
        caption->setText(NSLocalizedString(kCaptionKeys[i], ""));
        backImageView_->addSubview(caption);
    }
}

void MainViewController::judgeAuthorizationStatus(const UIButton& button) {
    int64_t tag = button.tag();
    switch (PHPhotoLibrary::authorizationStatus()) {
    case PHAuthorizationStatus::NotDetermined: {
        std::weak_ptr<MainViewController> weak = self<MainViewController>();
        PHPhotoLibrary::requestAuthorization([weak, tag](PHAuthorizationStatus status) {
            // The answer may come on any thread; the screens are the main thread's.
            dispatch_async(dispatch_get_main_queue(),
                           weakCall(weak, [tag, status](MainViewController& menu) {
                               if (status == PHAuthorizationStatus::Authorized &&
                                   !PHPhotoLibrary::authorizationIsKept()) {
                                   menu.showUnkeptAccessAlertThenEnter(tag);
                               } else if (status == PHAuthorizationStatus::Authorized) {
                                   menu.enterPhotoAlbum(tag);
                               } else {
                                   menu.showDenialAlert();
                               }
                           }));
        });
        break;
    }
    case PHAuthorizationStatus::Restricted:
    case PHAuthorizationStatus::Denied:
        showDenialAlert();
        break;
    default:
        enterPhotoAlbum(tag);
        break;
    }
}

void MainViewController::showDenialAlert() {
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        "",
        NSLocalizedString(
            "You disabled access, please go to Settings-> Privacy->Photos to set up access", ""),
        UIAlertControllerStyle::Alert);
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("OK", ""), UIAlertActionStyle::Default, nullptr));
    presentViewControllerAnimatedCompletion(alert, true, nullptr);
}

void MainViewController::showUnkeptAccessAlertThenEnter(int64_t tag) {
    auto alert = UIAlertController::alertControllerWithTitleMessagePreferredStyle(
        NSLocalizedString("Photo access could not be saved", ""),
        NSLocalizedString("You can use your photos now, but you will be asked again the next "
                          "time the app starts.",
                          ""),
        UIAlertControllerStyle::Alert);
    std::weak_ptr<MainViewController> weak = self<MainViewController>();
    alert->addAction(UIAlertAction::actionWithTitleStyleHandler(
        NSLocalizedString("OK", ""), UIAlertActionStyle::Default,
        weakCall(weak, [tag](MainViewController& menu, const std::shared_ptr<UIAlertAction>&) {
            menu.enterPhotoAlbum(tag);
        })));
    presentViewControllerAnimatedCompletion(alert, true, nullptr);
}

void MainViewController::enterPhotoAlbum(int64_t tag) {
    auto picker = ImagePickerViewController::init();
    if (tag == kTemplateTag) {
        picker->setMixStyle(0);
    } else if (tag == kFreeTag) {
        picker->setMixStyle(1);
    }
    auto navigation = UINavigationController::initWithRootViewController(picker);
    presentViewControllerAnimatedCompletion(navigation, true, [] {});
}

void MainViewController::enterSettingVC() {
    if (auto navigation = navigationController()) {
        navigation->pushViewControllerAnimated(SettingsViewController::init(), true);
    }
}
