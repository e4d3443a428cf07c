#include "adserver/AdUnit.h"

#include <array>

namespace {
constexpr const char* kErrorDomain = "AdServerErrorDomain";

// A whole number within [low, high] under `key`, or `fallback` when the key is absent.
ErrorOr<int> boundedInteger(const nlohmann::json& entry, const char* key, int fallback, int low,
                            int high) {
    if (!entry.contains(key)) {
        return fallback;
    }
    const auto& value = entry.at(key);
    if (!value.is_number_integer() || value.get<long long>() < low ||
        value.get<long long>() > high) {
        return makeError(kErrorDomain, 1,
                         std::string("\"") + key + "\" wants a whole number from " +
                             std::to_string(low) + " to " + std::to_string(high));
    }
    return static_cast<int>(value.get<long long>());
}

// What each page answer needs beside its kind.
ErrorOr<nlohmann::json> checkedPageAnswer(const nlohmann::json& entry) {
    if (!entry.contains("page")) {
        return nlohmann::json{{"answer", "url"}};
    }
    const auto& page = entry.at("page");
    const auto refused = [](const std::string& why) {
        return makeError(kErrorDomain, 1, "\"page\" " + why);
    };
    if (!page.is_object() || !page.contains("answer") || !page.at("answer").is_string()) {
        return refused("wants an object with an \"answer\"");
    }
    const std::string answer = page.at("answer");
    static constexpr std::array kAnswers = {"url", "errors", "fetched_ad", "invalid", "none"};
    if (std::find(kAnswers.begin(), kAnswers.end(), answer) == kAnswers.end()) {
        return refused("answers url, errors, fetched_ad, invalid or none, not: " + answer);
    }
    if ((answer == "errors" || answer == "invalid") &&
        !(page.contains("errors") && page.at("errors").is_string())) {
        return refused("of " + answer + " wants the \"errors\" text");
    }
    if (answer == "fetched_ad" &&
        !(page.contains("fetched_ad") && page.at("fetched_ad").is_object())) {
        return refused("of fetched_ad wants the \"fetched_ad\" object");
    }
    // The engine reads every parameter of the page's answer as text.
    if (page.contains("parameters")) {
        const auto& parameters = page.at("parameters");
        if (!parameters.is_object()) {
            return refused("\"parameters\" wants an object of texts");
        }
        for (const auto& [key, value] : parameters.items()) {
            if (!value.is_string()) {
                return refused("\"parameters\" wants a text for " + key);
            }
        }
    }
    return page;
}
} // namespace

ErrorOr<AdUnit> AdUnit::fromJSON(const std::string& name, const nlohmann::json& entry) {
    const auto refused = [&name](const std::string& why) {
        return makeError(kErrorDomain, 1, "ad unit " + name + ": " + why);
    };
    if (!entry.is_object()) {
        return refused("wants an object");
    }
    AdUnit unit;
    unit.name_ = name;
    auto page = checkedPageAnswer(entry);
    auto status = boundedInteger(entry, "status", 200, 200, 599);
    auto redirects = boundedInteger(entry, "redirects", 0, 0, kMaxRedirects);
    auto delay = boundedInteger(entry, "delay_ms", 0, 0, kMaxDelayMilliseconds);
    for (const auto* error : {&page.error(), &status.error(), &redirects.error(), &delay.error()}) {
        if (*error) {
            return refused((*error)->localizedDescription());
        }
    }
    unit.pageAnswer_ = std::move(page).value();
    unit.status_ = status.value();
    unit.redirects_ = redirects.value();
    unit.delayMilliseconds_ = delay.value();
    if (entry.contains("headers")) {
        const auto& headers = entry.at("headers");
        if (!headers.is_object()) {
            return refused("\"headers\" wants an object of texts");
        }
        for (const auto& [key, value] : headers.items()) {
            // A line break in a header would let the manifest write a second header.
            if (!value.is_string() || key.empty() ||
                key.find_first_of(":\r\n ") != std::string::npos ||
                value.get<std::string>().find_first_of("\r\n") != std::string::npos) {
                return refused("\"headers\" wants one-line texts under plain names: " + key);
            }
            unit.headers_[key] = value.get<std::string>();
        }
    }
    if (entry.contains("content_type")) {
        if (!entry.at("content_type").is_string()) {
            return refused("\"content_type\" wants a text");
        }
        unit.contentType_ = entry.at("content_type");
    }
    if (entry.contains("body")) {
        const auto& body = entry.at("body");
        if (!body.is_string() || body.get<std::string>().find('/') != std::string::npos) {
            return refused("\"body\" wants the name of a file of the inventory folder, or \"\"");
        }
        unit.bodyFile_ = body.get<std::string>();
    }
    if (entry.contains("broken_off")) {
        if (!entry.at("broken_off").is_boolean()) {
            return refused("\"broken_off\" wants true or false");
        }
        unit.brokenOff_ = entry.at("broken_off");
    }
    return unit;
}
