#include "editor/categories/UIView+PEImageToolInfo.h"

#include "editor/PEImageToolInfo.h"
#include "platform/uikit/UIView.h"

namespace {
constexpr const char* kToolInfoKey = "UIView+PEImageToolInfo_toolInfo";
constexpr const char* kUserInfoKey = "UIView+PEImageToolInfo_userInfo";
} // namespace

namespace PEViewToolInfo {
std::shared_ptr<PEImageToolInfo> toolInfo(const UIView& view) {
    return std::dynamic_pointer_cast<PEImageToolInfo>(view.associatedObject(kToolInfoKey));
}

void setToolInfo(UIView& view, std::shared_ptr<PEImageToolInfo> toolInfo) {
    view.setAssociatedObject(kToolInfoKey, std::move(toolInfo));
}

std::shared_ptr<NSObject> userInfo(const UIView& view) {
    return view.associatedObject(kUserInfoKey);
}

void setUserInfo(UIView& view, std::shared_ptr<NSObject> userInfo) {
    view.setAssociatedObject(kUserInfoKey, std::move(userInfo));
}
} // namespace PEViewToolInfo
