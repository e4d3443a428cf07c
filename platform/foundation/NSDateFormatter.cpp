#include "platform/foundation/NSDateFormatter.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <strings.h>
#include <vector>

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

// One piece of a pattern: a run of one letter, or literal text.
struct Field {
    char letter = 0; // 0: literal
    size_t count = 0;
    std::string literal;
};

// The pattern's pieces; nothing when it holds a letter we do not know or an open quote.
std::optional<std::vector<Field>> fieldsOf(const std::string& pattern) {
    static const std::string kKnown = "EdMyHmsz";
    std::vector<Field> fields;
    size_t at = 0;
    while (at < pattern.size()) {
        const char c = pattern[at];
        if (c == '\'') {
            const size_t close = pattern.find('\'', at + 1);
            if (close == std::string::npos) {
                return std::nullopt;
            }
            // '' is a quote itself.
            fields.push_back(
                {0, 0, close == at + 1 ? "'" : pattern.substr(at + 1, close - at - 1)});
            at = close + 1;
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            size_t end = at;
            while (end < pattern.size() && pattern[end] == c) {
                ++end;
            }
            if (kKnown.find(c) == std::string::npos) {
                return std::nullopt;
            }
            fields.push_back({c, end - at, {}});
            at = end;
        } else {
            fields.push_back({0, 0, std::string(1, c)});
            ++at;
        }
    }
    return fields;
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian), and back.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
    int64_t year;
    unsigned month;
    unsigned day;
};

Civil civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

unsigned daysInMonth(int64_t year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads up to `most` digits (at least one) at `at`.
std::optional<int64_t> digits(const std::string& text, size_t& at, size_t most) {
    size_t end = at;
    int64_t value = 0;
    while (end < text.size() && end - at < most &&
           std::isdigit(static_cast<unsigned char>(text[end]))) {
        value = value * 10 + (text[end] - '0');
        ++end;
    }
    if (end == at) {
        return std::nullopt;
    }
    at = end;
    return value;
}

// Reads one of `names` (whole, or its first three letters when `shortForm`), in any case;
// its index.
template <size_t N>
std::optional<size_t> name(const std::string& text, size_t& at,
                           const std::array<const char*, N>& names, bool shortForm) {
    for (size_t i = 0; i < N; ++i) {
        const std::string word = shortForm ? std::string(names[i], 3) : std::string(names[i]);
        if (text.size() - at >= word.size() &&
            strncasecmp(text.c_str() + at, word.c_str(), word.size()) == 0) {
            at += word.size();
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<NSDate> NSDateFormatter::dateFromString(const std::string& text) const {
    const auto fields = fieldsOf(dateFormat_);
    if (!fields) {
        return std::nullopt;
    }
    int64_t year = 1970;
    unsigned month = 1;
    unsigned day = 1;
    int64_t hour = 0;
    int64_t minute = 0;
    int64_t second = 0;
    size_t at = 0;
    for (const auto& field : *fields) {
        std::optional<int64_t> number;
        switch (field.letter) {
        case 0:
            for (const char c : field.literal) {
                if (c == ' ') {
                    // A blank of the pattern reads any run of blanks ("Nov  6").
                    if (at >= text.size() || text[at] != ' ') {
                        return std::nullopt;
                    }
                    while (at < text.size() && text[at] == ' ') {
                        ++at;
                    }
                } else if (at < text.size() && text[at] == c) {
                    ++at;
                } else {
                    return std::nullopt;
                }
            }
            continue;
        case 'E':
            if (!name(text, at, kWeekdays, field.count < 4)) {
                return std::nullopt;
            }
            continue;
        case 'M':
            if (field.count < 3) {
                number = digits(text, at, 2);
                if (!number) {
                    return std::nullopt;
                }
                month = static_cast<unsigned>(*number);
            } else if (auto index = name(text, at, kMonths, true)) {
                month = static_cast<unsigned>(*index + 1);
            } else {
                return std::nullopt;
            }
            continue;
        case 'z':
            // GMT is the only zone written; "UTC" reads as the same.
            if (text.compare(at, 3, "GMT") != 0 && text.compare(at, 3, "UTC") != 0) {
                return std::nullopt;
            }
            at += 3;
            continue;
        case 'd':
            number = digits(text, at, 2);
            day = number ? static_cast<unsigned>(*number) : 0;
            break;
        case 'y':
            number = digits(text, at, field.count == 2 ? 2 : 4);
            if (number && field.count == 2) {
                *number += *number >= 70 ? 1900 : 2000;
            }
            year = number.value_or(0);
            break;
        case 'H':
            number = digits(text, at, 2);
            hour = number.value_or(0);
            break;
        case 'm':
            number = digits(text, at, 2);
            minute = number.value_or(0);
            break;
        case 's':
            number = digits(text, at, 2);
            second = number.value_or(0);
            break;
        }
        if (!number) {
            return std::nullopt;
        }
    }
    if (at != text.size() || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 60) {
        return std::nullopt;
    }
    const int64_t seconds =
        daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return NSDate::dateWithTimeIntervalSince1970(static_cast<double>(seconds));
}

std::string NSDateFormatter::stringFromDate(const NSDate& date) const {
    const auto fields = fieldsOf(dateFormat_);
    if (!fields) {
        return {};
    }
    const auto seconds = static_cast<int64_t>(std::floor(date.timeIntervalSince1970()));
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t inDay = seconds - days * 86400;
    const Civil civil = civilFromDays(days);
    // 1970-01-01 was a Thursday.
    const auto weekday = static_cast<size_t>(((days % 7) + 11) % 7);
    std::string text;
    const auto number = [&text](int64_t value, size_t width) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%0*lld", static_cast<int>(width),
                      static_cast<long long>(value));
        text += buffer;
    };
    for (const auto& field : *fields) {
        switch (field.letter) {
        case 0:
            text += field.literal;
            break;
        case 'E':
            text += field.count < 4 ? std::string(kWeekdays[weekday], 3) : kWeekdays[weekday];
            break;
        case 'M':
            if (field.count < 3) {
                number(civil.month, field.count);
            } else {
                text += kMonths[civil.month - 1];
            }
            break;
        case 'z':
            text += "GMT";
            break;
        case 'd':
            number(civil.day, field.count);
            break;
        case 'y':
            number(field.count == 2 ? civil.year % 100 : civil.year, field.count);
            break;
        case 'H':
            number(inDay / 3600, field.count);
            break;
        case 'm':
            number(inDay / 60 % 60, field.count);
            break;
        case 's':
            number(inDay % 60, field.count);
            break;
        }
    }
    return text;
}
