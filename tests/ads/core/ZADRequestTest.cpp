// The ad request: the flat parameter dictionary it makes, its rebuilding from that
// dictionary (the stored form), extras, copies and the version texts.
#include "ads/core/ZADRequest.h"

#include "ads/core/ZADAdNetworkExtras.h"
#include "ads/core/ZADExtras.h"
#include "ads/core/ZADRequest+ZADRequestVersionInfo.h"
#include "ads/core/ZEZRequest.h"
#include "ads/signals/ZADApplication.h"
#include "ads/signals/ZADDevice.h"
#include "ads/signals/ZADLocation.h"
#include "platform/foundation/NSUserDefaults.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TaskEnvironment.h"

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Key;
using ::testing::Not;

namespace {

// Extras of a mediation adapter: any class but the engine's own.
class NetworkExtras : public ZADAdNetworkExtras {
    NS_OBJECT(NetworkExtras)
public:
    std::shared_ptr<ZADAdNetworkExtras> copy() const override {
        return std::make_shared<NetworkExtras>();
    }
};

std::shared_ptr<ZADExtras> extrasWith(PlistValue::Dictionary parameters) {
    auto extras = ZADExtras::init();
    extras->setAdditionalParameters(std::move(parameters));
    return extras;
}

class ZADRequestTest : public ::testing::Test {
protected:
    TaskEnvironment environment;
};

TEST_F(ZADRequestTest, AnEmptyRequestSendsItsVersionOriginAndClass) {
    auto parameters = ZADRequest::request()->parameters();
    // Besides the device's part.
    PlistValue::Dictionary expected = ZADDevice::sharedInstance()->parameters();
    expected.insert({
        {"js", "rozu-sdk-i-v7.8.1"},
        {"request_origin", "pub"},
        {"_request_object_properties", PlistValue::Dictionary{{"class", "ZADRequest"}}},
    });
    EXPECT_EQ(parameters, expected);
}

TEST_F(ZADRequestTest, FieldsBecomeTheirParameters) {
    auto request = ZADRequest::request();
    request->setGender(2);
    request->setBirthdayWithMonthDayYear(2, 29, 2000);
    request->setKeywords(std::vector<std::string>{"photos", "collage"});
    request->tagForChildDirectedTreatment(false);
    request->setContentURL("  https://mixphotos.example/gallery \n");
    request->setRequestAgent("layer");
    request->setLocationWithLatitudeLongitudeAccuracy(48.5, 2.25, 10);
    request->setCustomTargeting(PlistValue::Dictionary{{"theme", "summer"}});
    request->setFormatParameters(PlistValue::Array{
        PlistValue::Dictionary{{"format", "app_install"}},
        PlistValue::Dictionary{{"format", "content"},
                               {"custom_template_ids", PlistValue::Array{"t1", "t2"}}},
    });
    request->setResponseType(3);
    request->setAdConfigurations(PlistValue::Dictionary{{"o", 1}});
    request->setNativeExpressEnabled(true);
    request->registerAdNetworkExtras(extrasWith({{"color", "blue"}}));
    ZADApplication::sharedInstance()->setAvailableAdapterNames({"AdapterA"});
    NSUserDefaults::standardUserDefaults()->setBoolForKey(true, "/zivido/ads/render_in_browser");

    auto p = request->threadSafeParameters();
    EXPECT_EQ(p["cust_gender"], PlistValue("2"));
    EXPECT_EQ(p["cust_age"], PlistValue("20000229"));
    EXPECT_EQ(p["kw"], PlistValue(PlistValue::Array{"photos", "collage"}));
    EXPECT_EQ(p["tag_for_child_directed_treatment"], PlistValue("0"));
    EXPECT_EQ(p["url"], PlistValue("https://mixphotos.example/gallery"));
    EXPECT_EQ(p["request_agent"], PlistValue("layer"));
    EXPECT_EQ(p["uule"]["lat"], PlistValue(485000000));
    EXPECT_EQ(p["uule"]["long"], PlistValue(22500000));
    EXPECT_EQ(p["uule"]["radius"], PlistValue(10000.0));
    EXPECT_EQ(p["custom_targeting"], PlistValue(PlistValue::Dictionary{{"theme", "summer"}}));
    EXPECT_EQ(p["native_templates"], PlistValue("app_install,content"));
    EXPECT_EQ(p["native_custom_templates"], PlistValue("t1,t2"));
    EXPECT_EQ(p["native_version"], PlistValue(3));
    EXPECT_EQ(p["options"], PlistValue(PlistValue::Dictionary{{"o", 1}}));
    EXPECT_EQ(p["ene"], PlistValue(1));
    EXPECT_EQ(p["render_in_browser"], PlistValue(1));
    EXPECT_EQ(p["extras"], PlistValue(PlistValue::Dictionary{{"color", "blue"}}));
    EXPECT_EQ(p["adapters"], PlistValue(PlistValue::Array{"AdapterA"}));
    EXPECT_EQ(p["_request_object_properties"]["formatParameters"].array()->size(), 2u);
}

TEST_F(ZADRequestTest, EmptyOrUnsetFieldsSendNothing) {
    struct Case {
        const char* what;
        std::function<void(ZADRequest&)> set;
        const char* absentKey;
    };
    const Case cases[] = {
        {"gender 0", [](ZADRequest& r) { r.setGender(0); }, "cust_gender"},
        {"gender 3", [](ZADRequest& r) { r.setGender(3); }, "cust_gender"},
        {"blank content URL", [](ZADRequest& r) { r.setContentURL(" \t\n"); }, "url"},
        {"empty custom targeting",
         [](ZADRequest& r) { r.setCustomTargeting(PlistValue::Dictionary{}); }, "custom_targeting"},
        {"formats without a response type",
         [](ZADRequest& r) {
             r.setFormatParameters(PlistValue::Array{PlistValue::Dictionary{{"format", "x"}}});
         },
         "native_templates"},
        {"child-directed not specified", [](ZADRequest&) {}, "tag_for_child_directed_treatment"},
        {"a location that is not precise",
         [](ZADRequest& r) { r.setLocationWithLatitudeLongitudeAccuracy(0, 2, 1); }, "uule"},
        {"a described location", [](ZADRequest& r) { r.setLocationWithDescription("Paris"); },
         "uule"},
        {"an impossible birthday",
         [](ZADRequest& r) { r.setBirthdayWithMonthDayYear(2, 30, 2001); }, "cust_age"},
    };
    for (const auto& c : cases) {
        auto request = ZADRequest::request();
        c.set(*request);
        EXPECT_THAT(request->parameters(), Not(Contains(Key(c.absentKey)))) << c.what;
    }
}

TEST_F(ZADRequestTest, ExtrasAreKeptOnePerClassAndUseOnceExtrasLeaveAfterOneRead) {
    CapturedLog log;
    auto request = ZADRequest::request();
    request->registerAdNetworkExtras(extrasWith({{"n", "1"}}));
    request->registerAdNetworkExtras(extrasWith({{"n", "2"}}));
    EXPECT_EQ(request->networkExtrasAdditionalParameters(), (PlistValue::Dictionary{{"n", "2"}}));
    EXPECT_TRUE(request->cacheable());

    request->registerAdNetworkExtras(extrasWith({{"_useOnce", true}, {"n", "3"}}));
    EXPECT_EQ(request->networkExtrasAdditionalParameters(),
              (PlistValue::Dictionary{{"_useOnce", true}, {"n", "3"}}));
    EXPECT_EQ(request->networkExtrasAdditionalParameters(), std::nullopt);
    EXPECT_EQ(request->adNetworkExtrasFor("ZADExtras"), nullptr);

    // A ready ad, or extras of another class, keep the request out of the pool.
    request->registerAdNetworkExtras(extrasWith({{"_ad", "ready"}}));
    EXPECT_FALSE(request->cacheable());
    request->removeAdNetworkExtrasFor("ZADExtras");
    EXPECT_TRUE(request->cacheable());
    request->registerAdNetworkExtras(std::make_shared<NetworkExtras>());
    EXPECT_FALSE(request->cacheable());

    request->registerAdNetworkExtras(nullptr);
    environment.runUntilIdle();
    EXPECT_THAT(log.lines(),
                ElementsAre("<Zivido> Must specify extras for registerAdNetworkExtras:."));
}

TEST_F(ZADRequestTest, ParametersFedBackRebuildTheRequest) {
    auto request = ZADRequest::request();
    request->setTestDevices(std::vector<std::string>{"device-1"});
    request->setFormatParameters(PlistValue::Array{PlistValue::Dictionary{{"format", "content"}}});
    request->setPrivateMediationExtras(PlistValue::Dictionary{{"m", "1"}});
    request->setGender(1);
    request->setBirthdayWithMonthDayYear(12, 31, 1999);
    request->setLocationWithLatitudeLongitudeAccuracy(-33.9, 151.2, 25);
    request->setKeywords(std::vector<std::string>{"k"});
    request->tagForChildDirectedTreatment(true);
    request->setAdConfigurations(PlistValue::Dictionary{{"o", "x"}});
    request->setContentURL("https://mixphotos.example/");
    request->setResponseType(2);
    request->setRequestAgent("agent");
    request->setCustomTargeting(PlistValue::Dictionary{{"t", "v"}});
    request->setNativeExpressEnabled(true);
    request->registerAdNetworkExtras(extrasWith({{"e", "1"}}));
    request->setOrigin("cache");

    auto rebuilt = ZADRequest::initWithParameters(request->parameters());
    ASSERT_EQ(rebuilt->className(), "ZADRequest");
    EXPECT_EQ(rebuilt->testDevices(), request->testDevices());
    EXPECT_EQ(rebuilt->formatParameters(), request->formatParameters());
    EXPECT_EQ(rebuilt->privateMediationExtras(), request->privateMediationExtras());
    EXPECT_EQ(rebuilt->gender(), 1);
    EXPECT_EQ(rebuilt->birthdayString(), "19991231");
    ASSERT_NE(rebuilt->location(), nullptr);
    EXPECT_EQ(rebuilt->location()->dictionaryRepresentation(),
              request->location()->dictionaryRepresentation());
    EXPECT_EQ(rebuilt->keywords(), request->keywords());
    EXPECT_EQ(rebuilt->childDirectedTreatment(), std::optional<bool>(true));
    EXPECT_EQ(rebuilt->adConfigurations(), request->adConfigurations());
    EXPECT_EQ(rebuilt->contentURL(), request->contentURL());
    EXPECT_EQ(rebuilt->responseType(), 2);
    EXPECT_EQ(rebuilt->requestAgent(), request->requestAgent());
    EXPECT_EQ(rebuilt->customTargeting(), request->customTargeting());
    EXPECT_TRUE(rebuilt->nativeExpressEnabled());
    EXPECT_EQ(rebuilt->networkExtrasAdditionalParameters(), (PlistValue::Dictionary{{"e", "1"}}));
    // The origin is not restored: a rebuilt request is the publisher's until told otherwise.
    EXPECT_EQ(rebuilt->origin(), std::optional<std::string>("pub"));
}

TEST_F(ZADRequestTest, ValuesOfTheWrongTypeAreIgnoredWhenRebuilding) {
    auto rebuilt = ZADRequest::initWithParameters({
        {"cust_gender", 1},
        {"cust_age", "1999-12-31"},
        {"kw", "not a list"},
        {"tag_for_child_directed_treatment", "no"},
        {"native_version", "2"},
        {"ene", "1"},
        {"_request_object_properties", "not a dictionary"},
    });
    EXPECT_EQ(rebuilt->gender(), 0);
    EXPECT_EQ(rebuilt->birthday(), std::nullopt);
    EXPECT_EQ(rebuilt->keywords(), std::nullopt);
    EXPECT_EQ(rebuilt->childDirectedTreatment(), std::optional<bool>(false));
    EXPECT_EQ(rebuilt->responseType(), 0);
    EXPECT_FALSE(rebuilt->nativeExpressEnabled());
}

TEST_F(ZADRequestTest, TheStoredClassNameRebuildsASubclassOnly) {
    auto publisher = ZEZRequest::request();
    publisher->setPublisherProvidedID(" user-7 ");
    publisher->setCategoryExclusions(std::vector<std::string>{"games"});
    auto parameters = publisher->parameters();
    EXPECT_EQ(parameters["ppid"], PlistValue("user-7"));
    EXPECT_EQ(parameters["_request_object_properties"]["class"], PlistValue("ZEZRequest"));

    auto rebuilt =
        std::dynamic_pointer_cast<ZEZRequest>(ZADRequest::initWithParameters(parameters));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->publisherProvidedID(), std::optional<std::string>("user-7"));
    EXPECT_EQ(rebuilt->categoryExclusions(), publisher->categoryExclusions());

    for (const char* name : {"NSObject", "ZADExtras", "NoSuchClass", "ZADRequest"}) {
        auto plain = ZADRequest::initWithParameters(
            {{"_request_object_properties", PlistValue::Dictionary{{"class", name}}}});
        EXPECT_EQ(plain->className(), "ZADRequest") << name;
    }

    auto blank = ZEZRequest::request();
    blank->setPublisherProvidedID(" \n");
    blank->setCategoryExclusions(std::vector<std::string>{});
    EXPECT_THAT(blank->parameters(), Not(Contains(Key("ppid"))));
    EXPECT_THAT(blank->parameters(), Not(Contains(Key("category_exclusions"))));
}

TEST_F(ZADRequestTest, ACopyHasTheSameClassAndFieldsAndSharesTheExtras) {
    auto publisher = ZEZRequest::request();
    publisher->setPublisherProvidedID("id");
    publisher->setKeywords(std::vector<std::string>{"k"});
    auto extras = extrasWith({{"e", "1"}});
    publisher->registerAdNetworkExtras(extras);

    auto copy = std::dynamic_pointer_cast<ZEZRequest>(publisher->copy());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->parameters(), publisher->parameters());
    EXPECT_EQ(copy->adNetworkExtrasFor("ZADExtras"), extras);
    copy->setKeywords(std::nullopt);
    EXPECT_EQ(publisher->keywords(), std::optional<std::vector<std::string>>({"k"}));
}

TEST_F(ZADRequestTest, DescriptionAndVersionTexts) {
    auto request = ZADRequest::request();
    request->setGender(1);
    request->registerAdNetworkExtras(extrasWith({{"e", "1"}}));
    std::string text = request->description();
    EXPECT_TRUE(text.starts_with("<ZADRequest 0x")) << text;
    EXPECT_NE(text.find("\ngender:Male"), std::string::npos) << text;
    EXPECT_NE(text.find("\nadditionalParameters:"), std::string::npos) << text;

    EXPECT_EQ(ZADRequest::sdkVersion(), "rozu-sdk-i-v7.8.1");
    EXPECT_EQ(ZADRequestVersionInfo::extendedSDKVersionNumber(),
              "rozu-sdk-i-v7.8.1-rc.1+d138a36ede34a5eada191d6e1e3950a40557af21");
    const std::pair<const char*, long> types[] = {
        {"vazer", 2}, {"xfp", 3}, {"zivsense", 1}, {"Vazer", 0}, {"", 0}};
    for (const auto& [name, type] : types) {
        EXPECT_EQ(ZADRequest::requestTypeFromString(name), type) << name;
    }
}

} // namespace
