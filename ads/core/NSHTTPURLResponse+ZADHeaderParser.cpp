#include "ads/core/NSHTTPURLResponse+ZADHeaderParser.h"

#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSHTTPURLResponse.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <limits>
#include <memory>

namespace ZADHeaderParser {
namespace {

// The whole number at the start of text (a sign allowed), as a scanner reads one; nothing
// when no digit follows. Values beyond the range are clamped.
std::optional<int64_t> leadingInteger(const std::string& text) {
    // Blanks before the number are read past, as "max-age= 60" means 60.
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) {
        return std::nullopt;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    if (at == text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        const int digit = text[at] - '0';
        value = value > (std::numeric_limits<int64_t>::max() - digit) / 10
                    ? std::numeric_limits<int64_t>::max()
                    : value * 10 + digit;
    }
    return negative ? -value : value;
}

} // namespace

std::optional<NSDate> zad_dateFromHttpDateString(const std::string& text) {
    // Made once; reading a date leaves a formatter unchanged.
    static const auto formatters = [] {
        std::array<std::shared_ptr<NSDateFormatter>, 3> made;
        const char* patterns[] = {"EEE, dd MMM yyyy HH:mm:ss z", "EEE MMM d HH:mm:ss yyyy",
                                  "EEEE, dd-MMM-yy HH:mm:ss z"};
        for (size_t i = 0; i < made.size(); ++i) {
            made[i] = NSDateFormatter::init();
            made[i]->setDateFormat(patterns[i]);
        }
        return made;
    }();
    for (const auto& formatter : formatters) {
        if (auto date = formatter->dateFromString(text)) {
            return date;
        }
    }
    return std::nullopt;
}

std::optional<NSDate> zad_expirationDate(const NSHTTPURLResponse& response) {
    if (response.valueForHTTPHeaderField("Pragma") == "no-cache") {
        return std::nullopt;
    }
    const NSDate now = NSDate::date();
    const auto dateText = response.valueForHTTPHeaderField("Date");
    const auto dated = dateText ? zad_dateFromHttpDateString(*dateText) : std::nullopt;
    const NSDate responseDate = dated.value_or(now);
    if (const auto control = response.valueForHTTPHeaderField("Cache-Control")) {
        if (control->find("no-store") != std::string::npos) {
            return std::nullopt;
        }
        static constexpr std::string_view kMaxAge = "max-age=";
        if (const auto at = control->find(kMaxAge); at != std::string::npos) {
            if (const auto seconds = leadingInteger(control->substr(at + kMaxAge.size()))) {
                if (*seconds < 1) {
                    return std::nullopt;
                }
                return responseDate.dateByAddingTimeInterval(static_cast<double>(*seconds));
            }
        }
    }
    const auto expiresText = response.valueForHTTPHeaderField("Expires");
    const auto expires = expiresText ? zad_dateFromHttpDateString(*expiresText) : std::nullopt;
    if (!expires || *expires <= responseDate) {
        return std::nullopt;
    }
    return now.dateByAddingTimeInterval(expires->timeIntervalSinceDate(responseDate));
}

} // namespace ZADHeaderParser
