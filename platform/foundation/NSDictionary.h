// A dictionary of property-list values as an object, for what the platform hands around as
// any object (a view's user info): its entries are fixed when it is made.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/foundation/PlistValue.h"

#include <memory>
#include <string>

class NSDictionary : public NSObject {
    NS_OBJECT(NSDictionary)
public:
    static std::shared_ptr<NSDictionary> dictionaryWithDictionary(PlistValue::Dictionary entries);

    const PlistValue::Dictionary& dictionary() const { return entries_; }
    // The value for `key`; a null value when there is none.
    const PlistValue& objectForKey(const std::string& key) const;

protected:
    explicit NSDictionary(PlistValue::Dictionary entries) : entries_(std::move(entries)) {}

private:
    const PlistValue::Dictionary entries_;
};
