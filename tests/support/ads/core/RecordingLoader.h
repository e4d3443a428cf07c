// A load controller for the core controller's tests: it asks for an ad URL with a slot
// name (and any extra parameters), and writes down every call it gets and whether each
// came on the main thread.
#pragma once

#include "ads/core/ZADAd.h"
#include "ads/core/ZADSDKCoreControllerDelegate.h"
#include "ads/render/ZADCSITimeRecorder.h"
#include "platform/base/NSThread.h"
#include "platform/foundation/NSError.h"

#include <memory>
#include <string>
#include <vector>

class RecordingLoader : public ZADSDKCoreControllerDelegate {
public:
    explicit RecordingLoader(std::string slotname, long adType = kBannerAd)
        : slotname_(std::move(slotname)), adType_(adType) {}

    std::shared_ptr<ZADCSITimeRecorder> adLoadActionTimeRecorder() override { return recorder; }
    std::optional<PlistValue::Dictionary> requestParameters() override {
        note("parameters");
        if (withoutParameters) {
            return std::nullopt;
        }
        PlistValue::Dictionary parameters = extraParameters;
        parameters["request_id"] = requestID;
        parameters["slotname"] = slotname_;
        return parameters;
    }
    long requestedAdType() override { return adType_; }
    void setRequestID(const std::string& id) override { requestID = id; }
    void loadAdURLWithParameters(const MessageParameters& parameters) override {
        std::string line = "loadAdURL";
        for (const auto& [name, value] : parameters) {
            line += " " + name + "=" + value;
        }
        note(line);
    }
    void loadAdHeaders(const std::shared_ptr<ZADAd>& ad,
                       const PlistValue::Dictionary& headers) override {
        loadedAd = ad;
        loadedHeaders = headers;
        note("loadAd");
    }
    void invalidJavaScriptRequest() override { note("invalid"); }
    void failedJavaScriptFile() override { note("failedJavaScriptFile"); }
    void adURLRequestDidFailWithError(const std::shared_ptr<NSError>& error) override {
        failure = error;
        note("error " + std::to_string(error->code()));
    }

    std::shared_ptr<ZADCSITimeRecorder> recorder =
        ZADCSITimeRecorder::initWithAction("load_ad_ios");
    PlistValue::Dictionary extraParameters;
    bool withoutParameters = false;
    std::string requestID;
    std::vector<std::string> calls;
    bool allOnMainThread = true;
    std::shared_ptr<ZADAd> loadedAd;
    PlistValue::Dictionary loadedHeaders;
    std::shared_ptr<NSError> failure;

private:
    void note(std::string call) {
        allOnMainThread = allOnMainThread && NSThread::isMainThread();
        calls.push_back(std::move(call));
    }
    std::string slotname_;
    long adType_;
};
