#include "app/AppClasses.h"

#include "app/AppDelegate.h"
#include "app/BackImageChooseViewController.h"
#include "app/BaseViewController.h"
#include "app/DavuVovEditViewController.h"
#include "app/ImagePickerViewController.h"
#include "app/MainViewController.h"
#include "app/MixImageOutput.h"
#include "app/MixPhotosEditView.h"
#include "app/MixPhotosEditViewController.h"
#include "app/MixStyleCollectionViewCell.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "app/PhotosSelectedView.h"
#include "app/RZCommonConfig.h"
#include "app/SettingsViewController.h"
#include "app/widgets/CCDropdownTitleView.h"
#include "app/widgets/DMDropdownView.h"
#include "app/widgets/OVBarProgressView.h"
#include "app/widgets/OVProgressHUD.h"
#include "app/widgets/OVRoundProgressView.h"
#include "platform/base/ClassRegistry.h"
#include "services/ServicesClasses.h"

void registerAppClasses() {
    registerServicesClasses();
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<AppDelegate, UIResponder>(&AppDelegate::initialize);
    registry.add<BackImageChooseViewController, BaseViewController>();
    registry.add<BaseViewController, UIViewController>();
    registry.add<DavuVovEditViewController, UIViewController>();
    registry.add<ImagePickerViewController, BaseViewController>();
    registry.add<MainViewController, BaseViewController>();
    registry.add<MixImageOutput, NSObject>();
    registry.add<MixPhotosEditView, UIScrollView>();
    registry.add<MixPhotosEditViewController, UIViewController>();
    registry.add<MixStyleCollectionViewCell, UICollectionViewCell>();
    registry.add<PhotosPickerCollectionViewCell, UICollectionViewCell>();
    registry.add<PhotosSelectedView, UIView>();
    registry.add<RZCommonConfig, NSObject>();
    registry.add<SettingsViewController, BaseViewController>();
    registry.add<CCDropdownTitleView, UIControl>();
    registry.add<DMDropdownView, NSObject>();
    registry.add<OVBarProgressView, UIView>();
    registry.add<OVProgressHUD, UIView>();
    registry.add<OVRoundProgressView, UIView>();
}
