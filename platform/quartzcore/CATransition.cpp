#include "platform/quartzcore/CATransition.h"

#include "platform/runtime/ClassRegistry.h"

NS_REGISTER_CLASS(CATransition, CAAnimation);
