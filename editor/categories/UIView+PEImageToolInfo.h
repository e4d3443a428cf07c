// Two properties every view carries for the editor: the tool entry a menu item stands for,
// and any object a tool attaches to one of its own item views. Both are held by the view.
#pragma once

#include <memory>

class NSObject;
class PEImageToolInfo;
class UIView;

namespace PEViewToolInfo {
std::shared_ptr<PEImageToolInfo> toolInfo(const UIView& view);
void setToolInfo(UIView& view, std::shared_ptr<PEImageToolInfo> toolInfo);
std::shared_ptr<NSObject> userInfo(const UIView& view);
void setUserInfo(UIView& view, std::shared_ptr<NSObject> userInfo);
} // namespace PEViewToolInfo
