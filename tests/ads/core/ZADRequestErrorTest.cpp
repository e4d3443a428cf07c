// Request errors: each code's message under both message keys, the extra entries some
// errors carry, the platform initialiser's override, and the engine's private errors.
#include "ads/core/ZADRequestError.h"
#include "ads/core/NSError+ZADInternalErrorAdditions.h"
#include "ads/core/ZADRequest.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/uikit/UIDevice.h"
#include "tests/support/TaskEnvironment.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::Key;

namespace {

using namespace ZADInternalErrorAdditions;

std::string stringAt(const NSError& error, const std::string& key) {
    auto found = error.userInfo().find(key);
    return found != error.userInfo().end() && found->second.string() ? *found->second.string()
                                                                     : "(none)";
}

TEST(ZADRequestErrorTest, EveryCodeHasItsMessageUnderBothKeysAndNothingElse) {
    TaskEnvironment environment;
    const std::pair<long, std::string> cases[] = {
        {0, "Request Error: Invalid ad request parameter(s). Check the Xcode console for "
            "details."},
        {1, "Request Error: No ad to show."},
        {2, "Request Error: A network error occurred."},
        {3, "Request Error: Server error processing the request."},
        {4, "Request Error: This device's OS is " + UIDevice::currentDevice()->systemVersion() +
                ". It is below the minimum of 6.0."},
        {5, "Request Error: The Zivido Ad request was unable to be fulfilled before a timeout "
            "occurred."},
        {6, "Request Error: Will not send request because interstitial object has been used."},
        {7, "Request Error: The mediation response was invalid."},
        {8, "Request Error: Cannot find an ad network adapter for mediation."},
        {9, "Request Error: No ad to show from all configured ad networks."},
        {10, "Request Error: Incompatible ad type requested."},
        {11, "Request Error: Internal error."},
        {12, "Request Error: Invalid argument."},
        {13, "Request Error: Received invalid response."},
        // Codes outside the table keep their code and take the message of code 0.
        {42, "Request Error: Invalid ad request parameter(s). Check the Xcode console for "
             "details."},
        {-1, "Request Error: Invalid ad request parameter(s). Check the Xcode console for "
             "details."},
    };
    for (const auto& [code, message] : cases) {
        auto error = ZADRequestError::errorWithCode(code);
        EXPECT_EQ(error->domain(), "com.zivido.ads");
        EXPECT_EQ(error->code(), code);
        EXPECT_EQ(error->localizedDescription(), message) << code;
        EXPECT_THAT(error->userInfo(), ElementsAre(Key(NSLocalizedDescriptionKey),
                                                   Key(NSLocalizedFailureReasonErrorKey)))
            << code;
        EXPECT_EQ(stringAt(*error, NSLocalizedFailureReasonErrorKey), message) << code;
        EXPECT_EQ(error->underlyingError(), nullptr);
    }
}

TEST(ZADRequestErrorTest, ACustomMessageAndAnHTTPStatusAreCarried) {
    TaskEnvironment environment;
    auto custom = ZADRequestError::errorWithCodeCustomMessage(5, "Core page did not answer.");
    EXPECT_EQ(custom->code(), 5);
    EXPECT_EQ(custom->localizedDescription(), "Core page did not answer.");
    EXPECT_EQ(stringAt(*custom, NSLocalizedFailureReasonErrorKey), "Core page did not answer.");

    auto serverError = ZADRequestError::errorWithCodeRequestHTTPStatusCode(3, nullptr, 500);
    EXPECT_EQ(stringAt(*serverError, "HttpStatus"),
              "HTTP status 500: " + NSHTTPURLResponse::localizedStringForStatusCode(500));
    EXPECT_FALSE(ZADRequestError::errorWithCodeRequestHTTPStatusCode(3, nullptr, 0)
                     ->userInfo()
                     .contains("HttpStatus"));
}

TEST(ZADRequestErrorTest, AnInvalidRequestErrorCarriesTheRequestsParameters) {
    TaskEnvironment environment;
    auto request = ZADRequest::request();
    request->setKeywords(std::vector<std::string>{"collage"});
    auto error = ZADRequestError::errorWithCodeRequest(0, request);
    EXPECT_EQ(stringAt(*error, "js"), "rozu-sdk-i-v7.8.1");
    EXPECT_EQ(stringAt(*error, "request_origin"), "pub");
    EXPECT_EQ(error->userInfo().at("kw"), PlistValue(PlistValue::Array{"collage"}));
    EXPECT_TRUE(error->userInfo().contains(NSLocalizedDescriptionKey));

    // Only the invalid-request code carries them.
    EXPECT_FALSE(ZADRequestError::errorWithCodeRequest(1, request)->userInfo().contains("js"));
}

TEST(ZADRequestErrorTest, UnderlyingErrorsAndThePlatformInitialiser) {
    TaskEnvironment environment;
    auto cause = zad_errorWithCodeDescription(12, "Invalid ad format requested: \"x\".");
    auto wrapped = ZADRequestError::errorWithCodeUnderlyingError(12, cause);
    EXPECT_EQ(wrapped->localizedDescription(), "Invalid ad format requested: \"x\".");
    EXPECT_EQ(wrapped->underlyingError(), cause);

    // The platform's own initialiser never lends its domain and code to a request error.
    auto internal = ZADRequestError::initWithDomainCodeUserInfo("elsewhere", 77, {{"k", "v"}});
    EXPECT_EQ(internal->domain(), "com.zivido.ads");
    EXPECT_EQ(internal->code(), 11);
    EXPECT_EQ(internal->localizedDescription(), "Request Error: Internal error.");
    ASSERT_NE(internal->underlyingError(), nullptr);
    EXPECT_EQ(internal->underlyingError()->domain(), "elsewhere");
    EXPECT_EQ(internal->underlyingError()->code(), 77);

    // The plain form: same contents, not a request error.
    auto plain = internal->error();
    EXPECT_EQ(std::dynamic_pointer_cast<ZADRequestError>(plain), nullptr);
    EXPECT_EQ(plain->className(), "NSError");
    EXPECT_EQ(plain->domain(), internal->domain());
    EXPECT_EQ(plain->code(), internal->code());
    EXPECT_EQ(plain->userInfo(), internal->userInfo());
    EXPECT_EQ(plain->underlyingError(), internal->underlyingError());
}

TEST(ZADRequestErrorTest, PrivateErrorsHaveBuiltInDescriptionsForThreeCodes) {
    EXPECT_EQ(zad_localizedDescriptionForErrorCode(1), "File could not be read.");
    EXPECT_EQ(zad_localizedDescriptionForErrorCode(2), "Internal error.");
    EXPECT_EQ(zad_localizedDescriptionForErrorCode(3), "Invalid argument.");
    EXPECT_EQ(zad_localizedDescriptionForErrorCode(0), std::nullopt);
    EXPECT_EQ(zad_localizedDescriptionForErrorCode(4), std::nullopt);

    auto bare = zad_errorWithCodeDescription(7, std::nullopt);
    EXPECT_EQ(bare->domain(), "com.zivido.ads.private");
    EXPECT_EQ(bare->code(), 7);
    EXPECT_TRUE(bare->userInfo().empty());
    auto described = zad_errorWithDomainCodeDescription("com.zivido.ads", 1, "No config.");
    EXPECT_EQ(stringAt(*described, NSLocalizedDescriptionKey), "No config.");
    EXPECT_EQ(stringAt(*described, NSLocalizedFailureReasonErrorKey), "No config.");
}

} // namespace
