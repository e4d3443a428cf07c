#include "app/AppClasses.h"

#include "app/AppDelegate.h"
#include "app/BackImageChooseViewController.h"
#include "app/BaseViewController.h"
#include "app/DavuVovEditViewController.h"
#include "app/FreeEditMixView.h"
#include "app/ImagePickerViewController.h"
#include "app/MainViewController.h"
#include "app/MixPhotosEditView.h"
#include "app/MixPhotosEditViewController.h"
#include "app/MixStyleCollectionViewCell.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "app/PhotosSelectedView.h"
#include "app/RZCommonConfig.h"
#include "app/SettingsViewController.h"
#include "app/output/AppOutputClasses.h"
#include "editor/EditorClasses.h"
#include "platform/base/ClassRegistry.h"
#include "services/ServicesClasses.h"

void registerAppClasses() {
    registerServicesClasses();
    registerAppOutputClasses();
    registerEditorClasses();
    ClassRegistry& registry = ClassRegistry::shared();
    registry.add<AppDelegate, UIResponder>(&AppDelegate::initialize);
    registry.add<BackImageChooseViewController, BaseViewController>();
    registry.add<BaseViewController, UIViewController>();
    registry.add<DavuVovEditViewController, UIViewController>();
    registry.add<FreeEditMixView, UIView>();
    registry.add<ImagePickerViewController, BaseViewController>();
    registry.add<MainViewController, BaseViewController>();
    registry.add<MixPhotosEditView, UIScrollView>();
    registry.add<MixPhotosEditViewController, UIViewController>();
    registry.add<MixStyleCollectionViewCell, UICollectionViewCell>();
    registry.add<PhotosPickerCollectionViewCell, UICollectionViewCell>();
    registry.add<PhotosSelectedView, UIView>();
    registry.add<RZCommonConfig, NSObject>();
    registry.add<SettingsViewController, BaseViewController>();
}
