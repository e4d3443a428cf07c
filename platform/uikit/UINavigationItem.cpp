#include "platform/uikit/UINavigationItem.h"
