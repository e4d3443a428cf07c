#include "tests/support/editor/FakeImageToolHost.h"

#include "editor/PEImageToolBase.h"
#include "editor/PEImageToolInfo.h"
#include "platform/base/ClassRegistry.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScrollView.h"

std::shared_ptr<FakeImageToolHost> FakeImageToolHost::withImage(std::shared_ptr<UIImage> image) {
    std::shared_ptr<FakeImageToolHost> host(new FakeImageToolHost);
    host->originalImage_ = image;
    host->view_ = UIView::initWithFrame(CGRectMake(0, 0, 320, 568));
    host->scrollView_ = UIScrollView::initWithFrame(CGRectMake(0, 64, 320, 424));
    host->imageView_ = UIImageView::initWithImage(std::move(image));
    host->imageView_->setFrame(CGRectMake(0, 0, 320, 424));
    host->scrollView_->addSubview(host->imageView_);
    host->view_->addSubview(host->scrollView_);
    host->menuView_ = UIScrollView::initWithFrame(CGRectMake(0, 488, 320, 80));
    host->menuView_->setBackgroundColor(UIColor::colorWithWhiteAlpha(1.0, 0.8));
    host->view_->addSubview(host->menuView_);
    return host;
}

std::shared_ptr<PEImageToolBase>
FakeImageToolHost::openTool(const std::shared_ptr<PEImageToolInfo>& toolInfo) {
    const Class* cls = NSClassFromString(toolInfo->toolName());
    auto tool = cls ? std::dynamic_pointer_cast<PEImageToolBase>(cls->alloc()) : nullptr;
    if (!tool) {
        return nullptr;
    }
    tool->initWithImageEditorWithToolInfo(shared_from_this(), toolInfo);
    tool->setup();
    return tool;
}

void FakeImageToolHost::back(PEImageToolBase& tool) {
    imageView_->setImage(originalImage_);
    tool.cleanup();
}

void FakeImageToolHost::removeMenu() {
    if (menuView_) {
        menuView_->removeFromSuperview();
        menuView_ = nullptr;
    }
}
