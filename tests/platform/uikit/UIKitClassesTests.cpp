// What the class registry makes of a UIKit class by name: the instance its factory makes,
// never a bare constructor's half-built one.
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UICollectionViewCell.h"
#include "platform/uikit/UIPanGestureRecognizer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableViewCell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

template <class T> std::shared_ptr<T> allocNamed(const std::string& name) {
    const Class* cls = NSClassFromString(name);
    return cls ? std::dynamic_pointer_cast<T>(cls->alloc()) : nullptr;
}

} // namespace

TEST(UIKitClasses, ScrollViewsFromTheRegistryScrollWithTheirOwnPan) {
    for (const std::string name : {"UIScrollView", "UICollectionView", "UITableView"}) {
        const auto view = allocNamed<UIScrollView>(name);
        ASSERT_NE(view, nullptr) << name;
        EXPECT_EQ(view->className(), name);
        const auto recognizers = view->gestureRecognizers();
        const auto pan = view->panGestureRecognizer();
        ASSERT_NE(pan, nullptr) << name;
        EXPECT_NE(std::find(recognizers.begin(), recognizers.end(), pan), recognizers.end())
            << name << ": its pan recogniser is not attached";
        EXPECT_EQ(pan->view(), view) << name;
    }
}

TEST(UIKitClasses, CellsAndAlertsFromTheRegistryAreSetUp) {
    const auto item = allocNamed<UICollectionViewCell>("UICollectionViewCell");
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->contentView(), nullptr);
    EXPECT_EQ(item->contentView()->superview(), item);

    const auto row = allocNamed<UITableViewCell>("UITableViewCell");
    ASSERT_NE(row, nullptr);
    ASSERT_NE(row->contentView(), nullptr);
    EXPECT_NE(row->textLabel(), nullptr);

    const auto alert = allocNamed<UIAlertController>("UIAlertController");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->modalPresentationStyle(), UIModalPresentationStyle::OverFullScreen);
}

TEST(UIKitClasses, TheRegistryMakesNoSecondApplication) {
    const Class* cls = NSClassFromString("UIApplication");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->alloc(), nullptr);
}
