#include "tests/support/TestIsolation.h"

#include "platform/base/ClassRegistry.h"
#include "platform/base/Clock.h"
#include "platform/base/NSRunLoop.h"
#include "platform/base/NSThread.h"
#include "platform/dispatch/GlobalThreadPool.h"
#include "platform/foundation/EventLog.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/photos/PHImageManager.h"
#include "platform/photos/PHPhotoLibrary.h"
#include "platform/text/TextFontMap.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKeyboard.h"
#include "platform/uikit/UIPasteboard.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewAnimation.h"

#include <vector>

namespace {

std::vector<std::function<void()>>& upperResets() {
    static std::vector<std::function<void()>> resets;
    return resets;
}

// Stops what would still run: the pool's tasks (waiting for those under way) and the
// main loop's tasks and timers.
void stopPendingWork() {
    GlobalThreadPool::resetForTesting();
    NSRunLoop::resetForTesting();
}

} // namespace

void TestIsolation::addReset(std::function<void()> reset) {
    upperResets().push_back(std::move(reset));
}

void TestIsolation::resetProcessState() {
    NSThread::markCurrentThreadAsMain();
    stopPendingWork();
    Clock::resetForTesting();

    // The layers above first: they hold on to the platform's objects.
    const auto& resets = upperResets();
    for (auto reset = resets.rbegin(); reset != resets.rend(); ++reset) {
        (*reset)();
    }
    // After the app's singletons: class initialisers fill them again on next look-up.
    ClassRegistry::resetForTesting();

    UIApplication::resetForTesting();
    UIKeyboard::resetForTesting();
    UIScreen::resetForTesting();
    UIDevice::resetForTesting();
    UIViewAnimation::resetForTesting();
    UIImage::resetForTesting();
    UIPasteboard::resetForTesting();
    PHImageManager::resetForTesting();
    PHPhotoLibrary::resetForTesting();

    NSNotificationCenter::resetForTesting();
    NSUserDefaults::resetForTesting();
    NSHomeDirectoryResetForTesting();
    NSBundle::resetForTesting();
    NSBundle::setMainBundlePath(MP_TEST_BUNDLE_DIR);
    TextFontMap::resetForTesting();
    NSLocale::resetForTesting();
    NSURLSession::resetForTesting();
    // Whatever a test forgets to point at a loopback server fails as if offline.
    NSURLSession::setLoopbackOnly(true);
    NSLogSetSink(nullptr);
    EventLog::resetForTesting();

    // What letting go of the objects above may have queued.
    stopPendingWork();
}
