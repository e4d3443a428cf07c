#include "tests/support/harness/HarnessTesting.h"

#include "harness/TouchInjector.h"
#include "platform/uikit/UIKitClasses.h"
#include "tests/support/TaskEnvironment.h"
#include "tests/support/TestIsolation.h"

#include <gtest/gtest.h>

void setUpHarnessTesting() {
    registerUIKitClasses();
    TestIsolation::addReset([] {
        TouchInjector::resetForTesting();
        TouchInjector::setWait([](double seconds) {
            if (TaskEnvironment* environment = TaskEnvironment::current()) {
                environment->letTimePass(seconds);
            } else {
                ADD_FAILURE() << "a gesture that waits needs the test's TaskEnvironment";
            }
        });
    });
}
