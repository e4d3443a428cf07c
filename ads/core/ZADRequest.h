// The ad request an application hands to an ad format: targeting facts about the user
// and the content, test devices, and one extras object per extras class. The engine never
// sends the object: it sends the flat parameter dictionary the request makes, which is
// also its stored form (initWithParameters rebuilds the request's own fields from it).
//
// A plain value: the application fills it on one thread before a load; the engine reads
// threadSafeParameters from its own queues. Making the first request starts the engine's
// early activities (on the main thread).
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/PlistValue.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ZADAdNetworkExtras;
class ZADLocation;

class ZADRequest : public NSObject {
    NS_OBJECT(ZADRequest)
public:
    static constexpr const char* kSDKVersion = "rozu-sdk-i-v7.8.1";

    static std::shared_ptr<ZADRequest> request() { return init(); }
    static std::shared_ptr<ZADRequest> init();
    static std::shared_ptr<ZADRequest> alloc() { return init(); }
    // A request rebuilt from its parameters (values of another type than expected are
    // ignored). When "_request_object_properties" names a registered subclass of
    // ZADRequest, the request is of that class.
    static std::shared_ptr<ZADRequest> initWithParameters(const PlistValue::Dictionary& parameters);

    // Sent as "js" with every request and in the engine's reports.
    static std::string sdkVersion() { return kSDKVersion; }
    // "vazer" 2, "xfp" 3, "zivsense" 1, anything else 0.
    static long requestTypeFromString(const std::string& type);

    // A request of the same class with the same fields; the extras objects are shared.
    virtual std::shared_ptr<ZADRequest> copy() const;
    std::string description() const override;

    // One extras object per class: a second one of the same class replaces the first.
    // Null is refused with a public log line.
    void registerAdNetworkExtras(const std::shared_ptr<ZADAdNetworkExtras>& extras);
    std::shared_ptr<ZADAdNetworkExtras> adNetworkExtrasFor(const std::string& className) const;
    void removeAdNetworkExtrasFor(const std::string& className);
    // The registered ZADExtras' parameters. When they say "_useOnce", the extras leave the
    // request as they are read, so the next call finds none.
    std::optional<PlistValue::Dictionary> networkExtrasAdditionalParameters();

    // "1" male, "2" female, nothing otherwise.
    std::optional<std::string> genderString() const;
    // The birthday as "yyyyMMdd" in the local time zone.
    std::optional<std::string> birthdayString() const;
    // The content URL trimmed of white space; nothing when nothing is left.
    std::optional<std::string> contentURLString() const;
    // Midnight (local time) of that day of the Gregorian calendar.
    void setBirthdayWithMonthDayYear(long month, long day, long year);
    // A position that is not precise clears the location.
    void setLocationWithLatitudeLongitudeAccuracy(double latitude, double longitude,
                                                  double accuracy);
    void setLocationWithDescription(const std::string& text);
    void tagForChildDirectedTreatment(bool childDirected) {
        childDirectedTreatment_ = childDirected;
    }
    // Whether a test device entry names this device.
    bool isATestDevice() const;

    // The parameter dictionary; reads only the request and objects that guard themselves,
    // so any thread may call it.
    virtual PlistValue::Dictionary threadSafeParameters() const;
    // The full parameters: the thread-safe ones and the opaque request signal, which
    // this engine does not gather (nothing is added), so it never waits for the main
    // thread.
    PlistValue::Dictionary parameters() const;
    // Whether the interstitial pool may keep the request: only the engine's own extras,
    // and no ready ad among them.
    bool cacheable() const;

    bool nativeExpressEnabled() const { return nativeExpressEnabled_; }
    void setNativeExpressEnabled(bool enabled) { nativeExpressEnabled_ = enabled; }
    const std::optional<std::vector<std::string>>& testDevices() const { return testDevices_; }
    void setTestDevices(std::optional<std::vector<std::string>> devices) {
        testDevices_ = std::move(devices);
    }
    // 0 not given, 1 male, 2 female.
    long gender() const { return gender_; }
    void setGender(long gender) { gender_ = gender; }
    const std::optional<NSDate>& birthday() const { return birthday_; }
    void setBirthday(std::optional<NSDate> birthday) { birthday_ = birthday; }
    const std::optional<std::vector<std::string>>& keywords() const { return keywords_; }
    void setKeywords(std::optional<std::vector<std::string>> keywords) {
        keywords_ = std::move(keywords);
    }
    const std::optional<std::string>& contentURL() const { return contentURL_; }
    void setContentURL(std::optional<std::string> url) { contentURL_ = std::move(url); }
    const std::optional<std::string>& requestAgent() const { return requestAgent_; }
    void setRequestAgent(std::optional<std::string> agent) { requestAgent_ = std::move(agent); }
    const std::shared_ptr<ZADLocation>& location() const { return location_; }
    void setLocation(std::shared_ptr<ZADLocation> location) { location_ = std::move(location); }
    // Nothing: not specified.
    const std::optional<bool>& childDirectedTreatment() const { return childDirectedTreatment_; }
    void setChildDirectedTreatment(std::optional<bool> value) { childDirectedTreatment_ = value; }
    const std::optional<PlistValue::Dictionary>& customTargeting() const {
        return customTargeting_;
    }
    void setCustomTargeting(std::optional<PlistValue::Dictionary> targeting) {
        customTargeting_ = std::move(targeting);
    }
    const std::optional<PlistValue::Dictionary>& privateMediationExtras() const {
        return privateMediationExtras_;
    }
    void setPrivateMediationExtras(std::optional<PlistValue::Dictionary> extras) {
        privateMediationExtras_ = std::move(extras);
    }
    // Native formats asked for: dictionaries with "format" and "custom_template_ids".
    const std::optional<PlistValue::Array>& formatParameters() const { return formatParameters_; }
    void setFormatParameters(std::optional<PlistValue::Array> formats) {
        formatParameters_ = std::move(formats);
    }
    // The native response version; 0 none.
    long responseType() const { return responseType_; }
    void setResponseType(long type) { responseType_ = type; }
    const std::optional<PlistValue::Dictionary>& adConfigurations() const {
        return adConfigurations_;
    }
    void setAdConfigurations(std::optional<PlistValue::Dictionary> configurations) {
        adConfigurations_ = std::move(configurations);
    }
    // Who made the request: "pub" (the application) unless set otherwise.
    const std::optional<std::string>& origin() const { return origin_; }
    void setOrigin(std::optional<std::string> origin) { origin_ = std::move(origin); }

protected:
    ZADRequest();

    // Reads the request's own fields from its parameters; subclasses read theirs after.
    virtual void readParameters(const PlistValue::Dictionary& parameters);
    // Copies the fields, as the setters would, into a request of the same class.
    virtual void copyFieldsTo(ZADRequest& copy) const;
    // A new empty request of this object's class.
    virtual std::shared_ptr<ZADRequest> emptyOfSameClass() const;

private:
    std::map<std::string, std::shared_ptr<ZADAdNetworkExtras>> networkExtrasMap_;
    bool nativeExpressEnabled_ = false;
    std::optional<std::vector<std::string>> testDevices_;
    long gender_ = 0;
    std::optional<NSDate> birthday_;
    std::optional<std::vector<std::string>> keywords_;
    std::optional<std::string> contentURL_;
    std::optional<std::string> requestAgent_;
    std::shared_ptr<ZADLocation> location_;
    std::optional<bool> childDirectedTreatment_;
    std::optional<PlistValue::Dictionary> customTargeting_;
    std::optional<PlistValue::Dictionary> privateMediationExtras_;
    std::optional<PlistValue::Array> formatParameters_;
    long responseType_ = 0;
    std::optional<PlistValue::Dictionary> adConfigurations_;
    std::optional<std::string> origin_ = std::string("pub");
};
