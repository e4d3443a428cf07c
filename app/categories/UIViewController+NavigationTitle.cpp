#include "app/categories/UIViewController+NavigationTitle.h"

#include "platform/text/UIFont.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIViewController.h"

namespace NavigationTitle {
void useWhiteTitle(const UIViewController& controller) {
    if (auto navigation = controller.navigationController()) {
        NSTextAttributes title;
        title.font = UIFont::systemFontOfSizeWeight(18, 0.1);
        title.foregroundColor = UIColor::whiteColor();
        navigation->navigationBar()->setTitleTextAttributes(title);
    }
}
} // namespace NavigationTitle
