// The main menu, the app's root screen: a full-screen picture with three picture buttons
// and their captions — the template collage, the free collage and the settings. The two
// collage buttons make sure the photo library may be read, then open the photo picker for
// that kind of collage.
#pragma once

#include "app/BaseViewController.h"

#include <cstdint>

class UIButton;
class UIImageView;

class MainViewController : public BaseViewController {
    NS_OBJECT(MainViewController)
public:
    static std::shared_ptr<MainViewController> init() { return make<MainViewController>(); }
    static std::shared_ptr<MainViewController> alloc() { return init(); }

    static constexpr long kTemplateTag = 1;
    static constexpr long kFreeTag = 2;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    std::shared_ptr<UIImageView> backImageView() const { return backImageView_; }

    void addBackImageAndButton();
    void addLabel();
    // The photo-library permission gate in front of the picker.
    void judgeAuthorizationStatus(const UIButton& button);
    void enterPhotoAlbum(int64_t tag);
    void enterSettingVC();

protected:
    MainViewController() = default;

private:
    void showDenialAlert();
    // The answer to the photo-access question holds now, but the home could not keep it:
    // says so, then opens the picker.
    void showUnkeptAccessAlertThenEnter(int64_t tag);

    std::shared_ptr<UIImageView> backImageView_;
};
