#include "ads/core/ZADRequest.h"

#include "ads/core/NSDictionary+ZADObjectValidation.h"
#include "ads/core/ZADAdFetcher.h"
#include "ads/core/ZADExtras.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADDevice.h"
#include "ads/signals/ZADLocation.h"
#include "ads/signals/ZADLogger.h"
#include "ads/signals/ZADNetwork.h"
#include "ads/signals/ZADRunOnMainThread.h"
#include "platform/base/ClassRegistry.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSUserDefaults.h"

#include <cstdio>
#include <ctime>
#include <mutex>

using Kind = ZADObjectValidation::Class;
using ZADObjectValidation::zad_objectForKeyIfIsKindOfClass;
using ZADObjectValidation::zad_stringsForKey;

namespace {

constexpr const char* kObjectPropertiesKey = "_request_object_properties";

PlistValue::Array arrayOf(const std::vector<std::string>& strings) {
    return PlistValue::Array(strings.begin(), strings.end());
}

std::string joinedByCommas(const std::vector<std::string>& pieces) {
    std::string joined;
    for (const auto& piece : pieces) {
        joined += (joined.empty() ? "" : ",") + piece;
    }
    return joined;
}

// "yyyyMMdd" of a date, in the local time zone.
std::string dayTextOf(const NSDate& date) {
    std::time_t seconds = static_cast<std::time_t>(date.timeIntervalSince1970());
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return text;
}

// Local midnight of a day; nothing for a day the calendar does not have.
std::optional<NSDate> localMidnight(long year, long month, long day) {
    std::tm local{};
    local.tm_year = static_cast<int>(year - 1900);
    local.tm_mon = static_cast<int>(month - 1);
    local.tm_mday = static_cast<int>(day);
    local.tm_isdst = -1;
    std::time_t seconds = std::mktime(&local);
    // mktime rolls 31 February over into March: such a day does not exist.
    if (seconds == static_cast<std::time_t>(-1) || local.tm_year != year - 1900 ||
        local.tm_mon != month - 1 || local.tm_mday != day) {
        return std::nullopt;
    }
    return NSDate::dateWithTimeIntervalSince1970(static_cast<double>(seconds));
}

// A "yyyyMMdd" text: eight digits naming a real day.
std::optional<NSDate> dateOfDayText(const std::string& text) {
    if (text.size() != 8 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return localMidnight(std::stol(text.substr(0, 4)), std::stol(text.substr(4, 2)),
                         std::stol(text.substr(6, 2)));
}

void startEarlyActivitiesOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        ZADRunOnMainThread([] { ZADApplication::sharedInstance()->runEarlyActivities(); });
    });
}

} // namespace

ZADRequest::ZADRequest() {
    startEarlyActivitiesOnce();
}

std::shared_ptr<ZADRequest> ZADRequest::init() {
    return make<ZADRequest>();
}

std::shared_ptr<ZADRequest> ZADRequest::emptyOfSameClass() const {
    return init();
}

long ZADRequest::requestTypeFromString(const std::string& type) {
    if (type == "vazer") {
        return 2;
    }
    if (type == "xfp") {
        return 3;
    }
    if (type == "zivsense") {
        return 1;
    }
    return 0;
}

std::shared_ptr<ZADRequest>
ZADRequest::initWithParameters(const PlistValue::Dictionary& parameters) {
    std::shared_ptr<ZADRequest> request = init();
    const auto* properties =
        zad_objectForKeyIfIsKindOfClass(parameters, kObjectPropertiesKey, Kind::Dictionary);
    if (properties) {
        const auto* name =
            zad_objectForKeyIfIsKindOfClass(*properties->dictionary(), "class", Kind::String);
        if (name && *name->string() != request->className()) {
            const Class* named = NSClassFromString(*name->string());
            if (named && named->isSubclassOf(staticClassName())) {
                if (auto other = std::dynamic_pointer_cast<ZADRequest>(named->alloc())) {
                    request = std::move(other);
                }
            }
        }
    }
    request->readParameters(parameters);
    return request;
}

void ZADRequest::readParameters(const PlistValue::Dictionary& parameters) {
    auto read = [&](const PlistValue::Dictionary& from, const char* key, Kind kind) {
        return zad_objectForKeyIfIsKindOfClass(from, key, kind);
    };
    if (const auto* properties = read(parameters, kObjectPropertiesKey, Kind::Dictionary)) {
        const auto& fields = *properties->dictionary();
        if (auto devices = zad_stringsForKey(fields, "testDevices")) {
            testDevices_ = std::move(*devices);
        }
        if (const auto* formats = read(fields, "formatParameters", Kind::Array)) {
            formatParameters_ = *formats->array();
        }
        if (const auto* extras = read(fields, "privateMediationExtras", Kind::Dictionary)) {
            privateMediationExtras_ = *extras->dictionary();
        }
    }
    if (const auto* gender = read(parameters, "cust_gender", Kind::String)) {
        if (*gender->string() == "1") {
            gender_ = 1;
        } else if (*gender->string() == "2") {
            gender_ = 2;
        }
    }
    if (const auto* age = read(parameters, "cust_age", Kind::String)) {
        birthday_ = dateOfDayText(*age->string());
    }
    if (const auto* form = read(parameters, "uule", Kind::Dictionary)) {
        location_ = ZADLocation::initWithDictionary(*form->dictionary());
    }
    if (auto keywords = zad_stringsForKey(parameters, "kw")) {
        keywords_ = std::move(*keywords);
    }
    if (const auto* childDirected =
            read(parameters, "tag_for_child_directed_treatment", Kind::String)) {
        childDirectedTreatment_ = NSString::boolValue(*childDirected->string());
    }
    if (const auto* options = read(parameters, "options", Kind::Dictionary)) {
        adConfigurations_ = *options->dictionary();
    }
    if (const auto* url = read(parameters, "url", Kind::String)) {
        contentURL_ = *url->string();
    }
    if (const auto* version = read(parameters, "native_version", Kind::Number)) {
        responseType_ = version->integerValue();
    }
    if (const auto* agent = read(parameters, "request_agent", Kind::String)) {
        requestAgent_ = *agent->string();
    }
    if (const auto* targeting = read(parameters, "custom_targeting", Kind::Dictionary)) {
        customTargeting_ = *targeting->dictionary();
    }
    if (const auto* expressEnabled = read(parameters, "ene", Kind::Number)) {
        nativeExpressEnabled_ = expressEnabled->boolValue();
    }
    if (const auto* extras = read(parameters, "extras", Kind::Dictionary)) {
        auto own = ZADExtras::init();
        own->setAdditionalParameters(*extras->dictionary());
        registerAdNetworkExtras(own);
    }
}

std::shared_ptr<ZADRequest> ZADRequest::copy() const {
    auto copy = emptyOfSameClass();
    copyFieldsTo(*copy);
    return copy;
}

void ZADRequest::copyFieldsTo(ZADRequest& copy) const {
    copy.networkExtrasMap_ = networkExtrasMap_;
    copy.testDevices_ = testDevices_;
    copy.formatParameters_ = formatParameters_;
    copy.privateMediationExtras_ = privateMediationExtras_;
    copy.gender_ = gender_;
    copy.birthday_ = birthday_;
    copy.location_ = location_;
    copy.keywords_ = keywords_;
    copy.childDirectedTreatment_ = childDirectedTreatment_;
    copy.contentURL_ = contentURL_;
    copy.responseType_ = responseType_;
    copy.requestAgent_ = requestAgent_;
    copy.customTargeting_ = customTargeting_;
    copy.adConfigurations_ = adConfigurations_;
    copy.origin_ = origin_;
    copy.nativeExpressEnabled_ = nativeExpressEnabled_;
}

std::string ZADRequest::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    std::string text = "<" + className() + " " + address + ": ";
    if (gender_ == 1) {
        text += "\ngender:Male";
    } else if (gender_ == 2) {
        text += "\ngender:Female";
    }
    if (birthday_) {
        text += "\nbirthday:" + birthday_->description();
    }
    if (location_) {
        text += "\nlocation:" + location_->description();
    }
    if (keywords_) {
        text += "\nkeywords:" + PlistValue(arrayOf(*keywords_)).description();
    }
    auto own =
        std::dynamic_pointer_cast<ZADExtras>(adNetworkExtrasFor(ZADExtras::staticClassName()));
    if (own && own->additionalParameters()) {
        text += "\nadditionalParameters:" + PlistValue(*own->additionalParameters()).description();
    }
    return text + ">";
}

void ZADRequest::registerAdNetworkExtras(const std::shared_ptr<ZADAdNetworkExtras>& extras) {
    if (!extras) {
        ZADLogger::sharedInstance()->logPublicMessage(
            NSString::stringWithFormat("Must specify extras for %@.", "registerAdNetworkExtras:"));
        return;
    }
    networkExtrasMap_[extras->className()] = extras;
}

std::shared_ptr<ZADAdNetworkExtras>
ZADRequest::adNetworkExtrasFor(const std::string& className) const {
    auto found = networkExtrasMap_.find(className);
    return found == networkExtrasMap_.end() ? nullptr : found->second;
}

void ZADRequest::removeAdNetworkExtrasFor(const std::string& className) {
    networkExtrasMap_.erase(className);
}

std::optional<PlistValue::Dictionary> ZADRequest::networkExtrasAdditionalParameters() {
    auto own =
        std::dynamic_pointer_cast<ZADExtras>(adNetworkExtrasFor(ZADExtras::staticClassName()));
    if (!own) {
        return std::nullopt;
    }
    auto parameters = own->additionalParameters();
    if (parameters && PlistValue(*parameters)["_useOnce"].boolValue()) {
        removeAdNetworkExtrasFor(ZADExtras::staticClassName());
    }
    return parameters;
}

std::optional<std::string> ZADRequest::genderString() const {
    if (gender_ == 1 || gender_ == 2) {
        return std::to_string(gender_);
    }
    return std::nullopt;
}

std::optional<std::string> ZADRequest::birthdayString() const {
    if (!birthday_) {
        return std::nullopt;
    }
    return dayTextOf(*birthday_);
}

std::optional<std::string> ZADRequest::contentURLString() const {
    if (!contentURL_) {
        return std::nullopt;
    }
    std::string trimmed = NSString::stringByTrimmingWhitespaceAndNewlines(*contentURL_);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    return trimmed;
}

void ZADRequest::setBirthdayWithMonthDayYear(long month, long day, long year) {
    birthday_ = localMidnight(year, month, day);
}

void ZADRequest::setLocationWithLatitudeLongitudeAccuracy(double latitude, double longitude,
                                                          double accuracy) {
    location_ = ZADLocation::initWithLatitudeLongitudeAccuracy(latitude, longitude, accuracy);
}

void ZADRequest::setLocationWithDescription(const std::string& text) {
    location_ = ZADLocation::initWithLocationDescription(text);
}

bool ZADRequest::isATestDevice() const {
    if (!testDevices_) {
        return false;
    }
    auto device = ZADDevice::sharedInstance();
    std::string identifier = device->isSimulator() ? "Simulator" : device->deviceIdentifier();
    if (identifier.empty()) {
        return false;
    }
    for (const auto& entry : *testDevices_) {
        if (entry == identifier) {
            return true;
        }
    }
    return false;
}

PlistValue::Dictionary ZADRequest::threadSafeParameters() const {
    PlistValue::Dictionary parameters;
    auto put = [&](const std::string& key, PlistValue value) {
        parameters[key] = std::move(value);
    };
    if (auto adapters = ZADApplication::sharedInstance()->availableAdapterNames()) {
        put("adapters", arrayOf(*adapters));
    }
    auto device = ZADDevice::sharedInstance();
    for (auto& [key, value] : device->parameters()) {
        put(key, value);
    }
    put("js", sdkVersion());
    const auto& network = device->network();
    if (auto type = network->networkTypeString()) {
        put("net", *type);
    }
    if (auto type = network->lastKnownNetworkTypeString()) {
        put("net_last", *type);
    }
    if (device->isSimulator()) {
        put("simulator", "1");
    }
    if (isATestDevice()) {
        put("adtest", "on");
    }
    auto own =
        std::dynamic_pointer_cast<ZADExtras>(adNetworkExtrasFor(ZADExtras::staticClassName()));
    if (own && own->additionalParameters()) {
        put("extras", *own->additionalParameters());
    }
    if (auto gender = genderString()) {
        put("cust_gender", *gender);
    }
    if (auto day = birthdayString()) {
        put("cust_age", *day);
    }
    if (keywords_) {
        put("kw", arrayOf(*keywords_));
    }
    if (childDirectedTreatment_) {
        put("tag_for_child_directed_treatment", *childDirectedTreatment_ ? "1" : "0");
    }
    if (auto url = contentURLString()) {
        put("url", *url);
    }
    if (requestAgent_) {
        put("request_agent", *requestAgent_);
    }
    if (location_) {
        if (auto form = location_->dictionaryRepresentation()) {
            put("uule", *form);
        }
    }
    std::vector<std::string> formats;
    for (const auto& entry : formatParameters_.value_or(PlistValue::Array{})) {
        const auto* format = entry.dictionary();
        if (!format) {
            continue;
        }
        if (const auto* name = zad_objectForKeyIfIsKindOfClass(*format, "format", Kind::String)) {
            formats.push_back(*name->string());
        }
        const auto templates = zad_stringsForKey(*format, "custom_template_ids");
        if (templates && !templates->empty()) {
            put("native_custom_templates", joinedByCommas(*templates));
        }
    }
    std::string joinedFormats = joinedByCommas(formats);
    if (!joinedFormats.empty() && responseType_ != 0) {
        put("native_templates", joinedFormats);
        put("native_version", responseType_);
    }
    if (customTargeting_ && !customTargeting_->empty()) {
        put("custom_targeting", *customTargeting_);
    }
    if (origin_) {
        put("request_origin", *origin_);
    }
    PlistValue::Dictionary properties;
    if (testDevices_) {
        properties["testDevices"] = arrayOf(*testDevices_);
    }
    if (formatParameters_) {
        properties["formatParameters"] = *formatParameters_;
    }
    if (privateMediationExtras_) {
        properties["privateMediationExtras"] = *privateMediationExtras_;
    }
    properties["class"] = className();
    put(kObjectPropertiesKey, std::move(properties));
    if (adConfigurations_) {
        put("options", *adConfigurations_);
    }
    if (nativeExpressEnabled_) {
        put("ene", 1);
    }
    if (NSUserDefaults::standardUserDefaults()->boolForKey(ZADAdFetcher::kRenderInBrowserKey)) {
        put("render_in_browser", 1);
    }
    return parameters;
}

PlistValue::Dictionary ZADRequest::parameters() const {
    return threadSafeParameters();
}

bool ZADRequest::cacheable() const {
    for (const auto& [name, extras] : networkExtrasMap_) {
        auto own = std::dynamic_pointer_cast<ZADExtras>(extras);
        if (!own) {
            return false;
        }
        if (own->additionalParameters() && own->additionalParameters()->contains("_ad")) {
            return false;
        }
    }
    return true;
}
