// The store's payment queue, as far as asking whether payments can be made: this machine
// has no store account, so it cannot.
#pragma once

#include "platform/base/NSObject.h"

class SKPaymentQueue : public NSObject {
    NS_OBJECT(SKPaymentQueue)
public:
    static bool canMakePayments();

private:
    SKPaymentQueue() = default;
};
