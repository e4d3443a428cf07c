#include "app/MainViewController.h"

#include "platform/runtime/ClassRegistry.h"

NS_REGISTER_CLASS(MainViewController, UIViewController);
