#include "tests/support/TestHome.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSUserDefaults.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

TestHome::TestHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "mixphotos-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    path_ = made ? made : pattern;
    NSSetHomeDirectory(path_);
    NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
    NSUserDefaults::resetForTesting();
}

TestHome::~TestHome() {
    NSUserDefaults::resetForTesting();
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TestHome::relaunchDefaults() {
    NSUserDefaults::resetForTesting();
}
