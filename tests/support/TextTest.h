// Fixture for tests that lay out or draw text: the fonts come from the built app bundle,
// which must be the main bundle before the first font is made.
#pragma once

#include "platform/foundation/NSBundle.h"

#include <gtest/gtest.h>

class TextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR); }
};
