#include "platform/uikit/UINavigationItem.h"

#include "platform/runtime/ClassRegistry.h"

NS_REGISTER_CLASS(UINavigationItem, NSObject);
