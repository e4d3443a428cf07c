// Writes dates as text and reads them back by a pattern of the platform's letters: EEE and
// EEEE (weekday, short and long), d and dd (day), MMM (short month name), yy and yyyy
// (year), HH, mm and ss (time), z (the zone, "GMT"); other letters are refused, other
// characters and 'quoted' text stand for themselves (a blank reads any run of blanks).
// Names are English and times GMT, the only locale and zone the system's formatters ask
// for. A text is read only when the whole of it matches; the weekday read is not checked
// against the date; a two-digit year is 19yy from 70 on, else 20yy. Reading and writing
// leave the formatter unchanged; setting the pattern is not thread-safe.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/NSDate.h"

#include <memory>
#include <optional>
#include <string>

class NSDateFormatter : public NSObject {
    NS_OBJECT(NSDateFormatter)
public:
    static std::shared_ptr<NSDateFormatter> init() { return make<NSDateFormatter>(); }

    void setDateFormat(std::string format) { dateFormat_ = std::move(format); }

    // Nothing when the text does not match the pattern or names no real date.
    std::optional<NSDate> dateFromString(const std::string& text) const;
    // Empty when the pattern holds a letter this formatter does not know.
    std::string stringFromDate(const NSDate& date) const;

private:
    NSDateFormatter() = default;

    std::string dateFormat_;
};
