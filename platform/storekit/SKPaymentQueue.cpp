#include "platform/storekit/SKPaymentQueue.h"

bool SKPaymentQueue::canMakePayments() {
    return false;
}
