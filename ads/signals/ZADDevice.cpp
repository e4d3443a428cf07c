#include "ads/signals/ZADDevice.h"

#include "ads/render/ZADAdServer.h"
#include "ads/signals/NSString+ZADStringNumberAdditions.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADMobileAds.h"
#include "ads/signals/ZADNetwork.h"
#include "ads/signals/ZADOrientationCodeFromMask.h"
#include "ads/signals/ZADRunOnMainThread.h"
#include "ads/signals/ZADStringFromDouble.h"
#include "platform/adsupport/ASIdentifierManager.h"
#include "platform/avfoundation/AVAudioSession.h"
#include "platform/base/NSThread.h"
#include "platform/base/ResettableSingleton.h"
#include "platform/coretelephony/CTTelephonyNetworkInfo.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/storekit/SKPaymentQueue.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <sys/utsname.h>

namespace {

ResettableSingleton<ZADDevice>& shared() {
    static ResettableSingleton<ZADDevice> device;
    return device;
}

bool isLandscape(long orientation) {
    return orientation == 3 || orientation == 4;
}

// "7.1" -> 7, 1, 0; "8.4.1.2" -> 8, 4, 1; a part that is no number reads 0.
std::array<int64_t, 3> versionNumbers(const std::string& text) {
    std::array<int64_t, 3> numbers{0, 0, 0};
    auto parts = NSString::componentsSeparatedByString(text, ".");
    for (size_t i = 0; i < numbers.size() && i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::from_chars(part.data(), part.data() + part.size(), numbers[i]);
    }
    return numbers;
}

// The route's port names as requests code them; a name equal to a port type's text gets
// its code, any other passes through.
std::string portCode(const std::string& name) {
    static const std::map<std::string, std::string> codes{
        {AVAudioSessionPortLineOut, "zma_lo"},
        {AVAudioSessionPortHeadphones, "zma_h"},
        {AVAudioSessionPortBluetoothA2DP, "zma_ba2dp"},
        {AVAudioSessionPortBuiltInReceiver, "zma_bir"},
        {AVAudioSessionPortBuiltInSpeaker, "zma_bis"},
        {AVAudioSessionPortHDMI, "zma_hdmi"},
        {AVAudioSessionPortAirPlay, "zma_ap"}};
    if (name.empty()) {
        return "zma_invalid";
    }
    auto found = codes.find(name);
    return found == codes.end() ? name : found->second;
}

PlistValue arrayOfTexts(const std::vector<std::string>& texts) {
    return PlistValue(PlistValue::Array(texts.begin(), texts.end()));
}

} // namespace

ZADDevice::ZADDevice()
    : lockQueue_(dispatch_queue_create("com.zivido.vazer.device", DISPATCH_QUEUE_SERIAL)),
      network_(ZADNetwork::init()) {
    // Every launch starts without the files an earlier one left.
    dispatch_async(dispatch_get_main_queue(), [] {
        std::error_code ignored;
        std::filesystem::remove_all(temporaryPathWithCreation(false), ignored);
    });
}

ZADDevice::~ZADDevice() {
    network_->disableNetworkChecking();
    if (radioObserver_) {
        NSNotificationCenter::defaultCenter()->removeObserver(radioObserver_);
    }
}

std::shared_ptr<ZADDevice> ZADDevice::sharedInstance() {
    return shared().instance([] { return make<ZADDevice>(); });
}

void ZADDevice::resetForTesting() {
    shared().reset();
}

template <class F> auto ZADDevice::read(F&& reader) const {
    decltype(reader(*this)) value{};
    dispatch_sync(lockQueue_, [&] { value = reader(*this); });
    return value;
}

void ZADDevice::write(std::function<void(ZADDevice&)> change) {
    dispatch_async(lockQueue_,
                   [self = self<ZADDevice>(), change = std::move(change)] { change(*self); });
}

// Static facts.

void ZADDevice::cacheStaticParameters() {
    if (!NSThread::isMainThread() || hasCachedStaticParameters()) {
        return;
    }
    const std::string version = UIDevice::currentDevice()->systemVersion();
    const auto numbers = versionNumbers(version);
    auto application = UIApplication::sharedApplication();
    auto screen = UIScreen::mainScreen();
    const long orientation = static_cast<long>(application->statusBarOrientation());
    CGRect portrait = CGRectStandardize(screen->bounds());
    if (isLandscape(orientation) && numbers >= std::array<int64_t, 3>{8, 0, 0}) {
        portrait = CGRectMake(0, 0, portrait.size.height, portrait.size.width);
    }
    const unsigned long supported = application->supportedInterfaceOrientationsForWindow(
        ZADApplication::sharedInstance()->mainWindow());
    auto device = UIDevice::currentDevice();
    dispatch_sync(lockQueue_, [&] {
        systemVersion_ = version;
        operatingSystemVersion_ = numbers;
        infoPlist_ = NSBundle::mainBundle()->infoDictionary();
        deviceModel_ = device->model();
        userInterfaceIdiomIsPhone_ = device->userInterfaceIdiom() == UIUserInterfaceIdiom::Phone;
        mainScreenDensity_ = screen->scale();
        statusBarOrientation_ = orientation;
        portraitBounds_ = portrait;
        supportedInterfaceOrientationsForKeyWindow_ = supported;
        landscapeBounds_ = CGRectMake(0, 0, portrait.size.height, portrait.size.width);
    });
    if (isOSAtLeastMajorMinorPatch(7, 0, 0)) {
        auto telephony = CTTelephonyNetworkInfo::init();
        write([telephony](ZADDevice& self) { self.telephonyNetworkInfo_ = telephony; });
        setRadioAccessTechnology(telephony->currentRadioAccessTechnology());
        std::weak_ptr<ZADDevice> weak = self<ZADDevice>();
        radioObserver_ =
            NSNotificationCenter::defaultCenter()->addObserverForNameObjectQueueUsingBlock(
                CTRadioAccessTechnologyDidChangeNotification, nullptr, dispatch_get_main_queue(),
                [weak, telephony](const NSNotification&) {
                    if (auto self = weak.lock()) {
                        self->setRadioAccessTechnology(telephony->currentRadioAccessTechnology());
                    }
                });
    }
    if (auto server = NSURL::URLWithString(ZADAdServer::baseURL())) {
        network_->enableNetworkCheckingForHost(server->host());
    }
    updateDynamicParameters();
    dispatch_sync(lockQueue_, [&] { hasCachedStaticParameters_ = true; });
}

bool ZADDevice::hasCachedStaticParameters() const {
    return read([](const ZADDevice& self) { return self.hasCachedStaticParameters_; });
}

// Dynamic facts.

void ZADDevice::updateDynamicParameters() {
    updateOrientation();
    updateBookstores();
    updateMobileCarrierInformation();
    updateOrientedKeyWindowSize();
    updateAudioVolume();
    updateAudioPortNames();
}

void ZADDevice::updateOrientation() {
    auto application = UIApplication::sharedApplication();
    const long orientation = static_cast<long>(application->statusBarOrientation());
    const unsigned long mainWindowMask =
        ZADApplication::sharedInstance()->mainWindowSupportedInterfaceOrientations();
    write([orientation, mainWindowMask](ZADDevice& self) {
        self.statusBarOrientation_ = orientation;
        self.mainWindowSupportedInterfaceOrientations_ = mainWindowMask;
    });
}

void ZADDevice::updateBookstores() {
    const auto answers = canOpenURLs({"itms-books://", "kindle://home"});
    unsigned bookstores = 0;
    if (isOSAtLeastMajorMinorPatch(8, 0, 0) || answers.at("itms-books://")) {
        bookstores |= kBookstoreBooks;
    }
    if (answers.at("kindle://home")) {
        bookstores |= kBookstoreReader;
    }
    write([bookstores](ZADDevice& self) { self.bookstores_ = bookstores; });
}

void ZADDevice::updateMobileCarrierInformation() {
    write([](ZADDevice& self) {
        auto carrier = self.telephonyNetworkInfo_
                           ? self.telephonyNetworkInfo_->subscriberCellularProvider()
                           : nullptr;
        self.mobileCountryCode_ =
            carrier ? std::optional(carrier->mobileCountryCode()) : std::nullopt;
        self.mobileNetworkCode_ =
            carrier ? std::optional(carrier->mobileNetworkCode()) : std::nullopt;
    });
}

void ZADDevice::updateOrientedKeyWindowSize() {
    auto window = ZADApplication::sharedInstance()->mainWindow();
    CGSize size = window ? CGRectStandardize(window->frame()).size : CGSize{};
    const long orientation =
        static_cast<long>(UIApplication::sharedApplication()->statusBarOrientation());
    if (isLandscape(orientation) && !isOSAtLeastMajorMinorPatch(8, 0, 0)) {
        std::swap(size.width, size.height);
    }
    write([size](ZADDevice& self) { self.orientedKeyWindowSize_ = size; });
}

void ZADDevice::updateAudioVolume() {
    const float volume = AVAudioSession::sharedInstance()->outputVolume();
    write([volume](ZADDevice& self) { self.audioVolume_ = volume; });
}

void ZADDevice::updateAudioPortNames() {
    std::vector<std::string> names;
    for (const auto& port : AVAudioSession::sharedInstance()->currentRoute().outputs) {
        names.push_back(portCode(port.portName));
    }
    write([names = std::move(names)](ZADDevice& self) {
        self.audioRoutePortNames_ = names;
        self.hasAudioRoute_ = true;
    });
}

// The request's device part.

PlistValue::Dictionary ZADDevice::parameters() const {
    PlistValue::Dictionary parameters;
    auto put = [&](const std::string& key, PlistValue value) {
        parameters[key] = std::move(value);
    };
    auto application = ZADApplication::sharedInstance();
    const bool landscape = orientationLandscape();
    // A phone application running on a tablet.
    if (read([](const ZADDevice& self) {
            return self.deviceModel_ == "iPad" && self.userInterfaceIdiomIsPhone_;
        })) {
        put("ios_ipadc", "1");
    }
    put("ios_metadata", application->iTunesMetadata());
    if (auto info = read([](const ZADDevice& self) { return self.infoPlist_; })) {
        put("ios_info_plist", std::move(*info));
    }
    if (auto base = baseSDKVersion()) {
        put("ios_base_sdk", *base);
    }
    const std::string& version = application->version();
    put("app_name", (version.empty() ? "" : version + ".") + "iphone." +
                        application->mainBundleIdentifier().value_or(""));
    if (auto model = deviceModel(); !model.empty()) {
        put("platform", model);
    }
    if (auto submodel = deviceSubmodel(); !submodel.empty()) {
        put("submodel", submodel);
    }
    if (auto language = locale()) {
        put("hl", *language);
    }
    if (read([](const ZADDevice& self) { return self.hasAudioRoute_; })) {
        put("ios_audio_ports", arrayOfTexts(audioRoutePortNames()));
    }
    put("ios_output_volume", ZADStringFromDouble(audioVolume()));
    put("u_so", landscape ? "l" : "p");
    const auto masks = read([](const ZADDevice& self) {
        return std::array<unsigned long, 2>{self.supportedInterfaceOrientationsForKeyWindow_,
                                            self.mainWindowSupportedInterfaceOrientations_};
    });
    if (auto code = ZADOrientationCodeFromMask(masks[0])) {
        put("u_sso", *code);
    }
    if (auto code = ZADOrientationCodeFromMask(masks[1])) {
        put("u_mwsso", *code);
    }
    if (auto radio = radioAccessTechnology()) {
        put("ios_radio", *radio);
    }
    if (auto radio = lastKnownRadioAccessTechnology()) {
        put("ios_radio_last", *radio);
    }
    if (auto code = mobileCountryCode()) {
        put("cellular_country_code", *code);
    }
    if (auto code = mobileNetworkCode()) {
        put("cellular_network_code", *code);
    }
    put("u_sd", ZADStringFromDouble(mainScreenDensity()));
    const CGRect portrait = standardizedPortraitScreenBounds();
    put("u_w", ZADStringFromDouble(portrait.size.width));
    put("u_h", ZADStringFromDouble(portrait.size.height));
    const CGSize window = standardizedPortraitKeyWindowSize();
    put("ios_key_window_w", ZADStringFromDouble(window.width));
    put("ios_key_window_h", ZADStringFromDouble(window.height));
    if (const unsigned stores = bookstores(); stores != 0) {
        put("cap_bs", stores);
    }
    put("cap_noiap", SKPaymentQueue::canMakePayments() ? "0" : "1");
    auto mobileAds = ZADMobileAds::sharedInstance();
    put("ios_app_volume", static_cast<double>(mobileAds->clampedApplicationVolume()));
    put("ios_app_muted", mobileAds->applicationMuted() ? "1" : "0");
    return parameters;
}

// Versions.

std::string ZADDevice::systemVersion() const {
    // Before the static facts, the device's own text.
    std::string version = read([](const ZADDevice& self) { return self.systemVersion_; });
    return version.empty() ? UIDevice::currentDevice()->systemVersion() : version;
}

std::array<int64_t, 3> ZADDevice::operatingSystemVersion() const {
    return versionNumbers(systemVersion());
}

bool ZADDevice::isOSAtLeastMajorMinorPatch(int64_t major, int64_t minor, int64_t patch) const {
    return operatingSystemVersion() >= std::array<int64_t, 3>{major, minor, patch};
}

bool ZADDevice::OSIsSupported() const {
    return isOSAtLeastMajorMinorPatch(kMinimumMajorSystemVersion, 0, 0);
}

std::optional<std::string> ZADDevice::baseSDKVersion() const {
    std::call_once(baseSDKVersionOnce_, [this] {
        const auto info = NSBundle::mainBundle()->infoDictionary();
        auto name = info.find("DTSDKName");
        if (name == info.end() || !name->second.string()) {
            return;
        }
        std::string text = *name->second.string();
        if (auto platform = info.find("DTPlatformName"); platform != info.end() &&
                                                         platform->second.string() &&
                                                         !platform->second.string()->empty()) {
            text = NSString::stringByReplacingOccurrencesOfStringWithString(
                text, *platform->second.string(), "");
        }
        baseSDKVersion_ = text;
    });
    return baseSDKVersion_;
}

std::map<std::string, bool> ZADDevice::canOpenURLs(const std::vector<std::string>& URLs) const {
    std::vector<std::string> declared;
    const PlistValue schemes =
        NSBundle::mainBundle()->objectForInfoDictionaryKey("LSApplicationQueriesSchemes");
    if (const auto* list = schemes.array()) {
        for (const auto& scheme : *list) {
            declared.push_back(scheme.stringValue());
        }
    }
    const bool mustDeclare = isOSAtLeastMajorMinorPatch(9, 0, 0);
    auto application = UIApplication::sharedApplication();
    std::map<std::string, bool> answers;
    for (const auto& text : URLs) {
        auto url = NSURL::URLWithString(text);
        bool open = url != nullptr;
        if (open && mustDeclare) {
            open = std::find(declared.begin(), declared.end(), url->scheme()) != declared.end();
        }
        answers[text] = open && application->canOpenURL(text);
    }
    return answers;
}

// Identity.

bool ZADDevice::limitAdTracking() const {
    return !ASIdentifierManager::sharedManager()->isAdvertisingTrackingEnabled();
}

std::string ZADDevice::rawDeviceIdentifier() const {
    return ASIdentifierManager::sharedManager()->advertisingIdentifierUUIDString();
}

std::string ZADDevice::deviceIdentifier() const {
    if (limitAdTracking()) {
        return {};
    }
    return ZADStringNumberAdditions::zad_MD5String(rawDeviceIdentifier()).value_or("");
}

// Model and locale.

std::string ZADDevice::deviceModel() const {
    return read([](const ZADDevice& self) { return self.deviceModel_; });
}

std::string ZADDevice::deviceSubmodel() {
    static const std::string submodel = [] {
        utsname name{};
        return ::uname(&name) == 0 ? std::string(name.machine) : std::string();
    }();
    return submodel;
}

std::optional<std::string> ZADDevice::locale() const {
    std::call_once(localeOnce_, [this] {
        const PlistValue languages = NSUserDefaults::standardUserDefaults()->objectForKey(
            NSUserDefaults::kAppleLanguagesKey);
        const auto* list = languages.array();
        if (!list || list->empty() || !list->front().string()) {
            return;
        }
        std::string first = *list->front().string();
        std::transform(first.begin(), first.end(), first.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        locale_ = first;
    });
    return locale_;
}

// Geometry.

double ZADDevice::mainScreenDensity() const {
    return read([](const ZADDevice& self) { return self.mainScreenDensity_; });
}

CGRect ZADDevice::standardizedPortraitScreenBounds() const {
    const auto cached = read([](const ZADDevice& self) {
        return self.hasCachedStaticParameters_ ? std::optional(self.portraitBounds_) : std::nullopt;
    });
    if (cached) {
        return *cached;
    }
    // Before the static facts: the screen as it is, held upright.
    const CGSize size = UIScreen::mainScreen()->bounds().size;
    return CGRectMake(0, 0, std::min(size.width, size.height), std::max(size.width, size.height));
}

CGRect ZADDevice::standardizedLandscapeScreenBounds() const {
    return read([](const ZADDevice& self) { return self.landscapeBounds_; });
}

CGRect ZADDevice::standardizedOrientedScreenBounds() const {
    CGRect bounds = standardizedPortraitScreenBounds();
    if (orientationLandscape()) {
        std::swap(bounds.size.width, bounds.size.height);
    }
    return bounds;
}

CGSize ZADDevice::standardizedOrientedKeyWindowSize() const {
    return read([](const ZADDevice& self) { return self.orientedKeyWindowSize_; });
}

CGSize ZADDevice::standardizedPortraitKeyWindowSize() const {
    CGSize size = standardizedOrientedKeyWindowSize();
    if (orientationLandscape()) {
        std::swap(size.width, size.height);
    }
    return size;
}

bool ZADDevice::orientationLandscape() const {
    if (NSThread::isMainThread()) {
        const_cast<ZADDevice*>(this)->updateOrientation();
    }
    return read([](const ZADDevice& self) { return isLandscape(self.statusBarOrientation_); });
}

// Audio, radio, carrier.

float ZADDevice::audioVolume() const {
    return read([](const ZADDevice& self) { return self.audioVolume_; });
}

std::vector<std::string> ZADDevice::audioRoutePortNames() const {
    return read([](const ZADDevice& self) { return self.audioRoutePortNames_; });
}

std::optional<std::string> ZADDevice::radioAccessTechnology() const {
    return read([](const ZADDevice& self) { return self.radioAccessTechnology_; });
}

std::optional<std::string> ZADDevice::lastKnownRadioAccessTechnology() const {
    return read([](const ZADDevice& self) { return self.lastKnownRadioAccessTechnology_; });
}

void ZADDevice::setRadioAccessTechnology(std::optional<std::string> technology) {
    write([technology = std::move(technology)](ZADDevice& self) {
        self.radioAccessTechnology_ = technology;
        if (technology) {
            self.lastKnownRadioAccessTechnology_ = technology;
        }
    });
}

std::optional<std::string> ZADDevice::mobileCountryCode() const {
    return read([](const ZADDevice& self) { return self.mobileCountryCode_; });
}

std::optional<std::string> ZADDevice::mobileNetworkCode() const {
    return read([](const ZADDevice& self) { return self.mobileNetworkCode_; });
}

void ZADDevice::setMobileCountryCode(std::optional<std::string> code) {
    write([code = std::move(code)](ZADDevice& self) { self.mobileCountryCode_ = code; });
}

void ZADDevice::setMobileNetworkCode(std::optional<std::string> code) {
    write([code = std::move(code)](ZADDevice& self) { self.mobileNetworkCode_ = code; });
}

unsigned ZADDevice::bookstores() const {
    return read([](const ZADDevice& self) { return self.bookstores_; });
}

std::string ZADDevice::userAgent() const {
    return read([](const ZADDevice& self) { return self.userAgent_; });
}

void ZADDevice::setUserAgentString(const std::string& userAgent) {
    if (userAgent.empty()) {
        return;
    }
    write([userAgent](ZADDevice& self) { self.userAgent_ = userAgent; });
}

std::string ZADDevice::temporaryPathWithCreation(bool create) {
    const std::string path = stringByAppendingPathComponent(NSTemporaryDirectory(), "VaZerTemp");
    if (create) {
        std::error_code ignored;
        std::filesystem::create_directories(path, ignored);
    }
    return path;
}
