#include "platform/quartzcore/CATransition.h"
