// What the class registry makes of the app's views by name: the instance its factory makes,
// with the subviews the factory adds, never a bare constructor's empty one.
#include "app/FreeEditMixView.h"
#include "app/MixPhotosEditView.h"
#include "app/MixStyleCollectionViewCell.h"
#include "app/PhotosPickerCollectionViewCell.h"
#include "app/PhotosSelectedView.h"
#include "app/widgets/CCDropdownTitleView.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

TEST(AppClasses, ViewsFromTheRegistryHaveTheirSubviews) {
    TaskEnvironment environment;
    TestHome home;
    struct Case {
        std::string name;
        // The view the factory adds, in its instance.
        std::function<std::shared_ptr<UIView>(const std::shared_ptr<NSObject>&)> part;
    };
    const std::vector<Case> cases = {
        {"MixPhotosEditView",
         [](const auto& made) {
             auto view = std::dynamic_pointer_cast<MixPhotosEditView>(made);
             return view ? std::static_pointer_cast<UIView>(view->imageview()) : nullptr;
         }},
        {"PhotosPickerCollectionViewCell",
         [](const auto& made) {
             auto cell = std::dynamic_pointer_cast<PhotosPickerCollectionViewCell>(made);
             return cell ? std::static_pointer_cast<UIView>(cell->imageView()) : nullptr;
         }},
        {"MixStyleCollectionViewCell",
         [](const auto& made) {
             auto cell = std::dynamic_pointer_cast<MixStyleCollectionViewCell>(made);
             return cell ? std::static_pointer_cast<UIView>(cell->imageView()) : nullptr;
         }},
        {"PhotosSelectedView",
         [](const auto& made) {
             auto view = std::dynamic_pointer_cast<PhotosSelectedView>(made);
             return view ? std::static_pointer_cast<UIView>(view->imageView()) : nullptr;
         }},
        {"FreeEditMixView",
         [](const auto& made) {
             auto view = std::dynamic_pointer_cast<FreeEditMixView>(made);
             return view ? std::static_pointer_cast<UIView>(view->showImageView()) : nullptr;
         }},
        {"CCDropdownTitleView",
         [](const auto& made) {
             auto view = std::dynamic_pointer_cast<CCDropdownTitleView>(made);
             return view ? std::static_pointer_cast<UIView>(view->titleLabel()) : nullptr;
         }},
    };
    for (const auto& [name, part] : cases) {
        const Class* cls = NSClassFromString(name);
        ASSERT_NE(cls, nullptr) << name;
        const auto made = cls->alloc();
        ASSERT_NE(made, nullptr) << name;
        EXPECT_EQ(made->className(), name);
        EXPECT_NE(part(made), nullptr) << name << " was made without its subviews";
    }
}
