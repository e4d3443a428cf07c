#include "platform/foundation/NSDictionary.h"

std::shared_ptr<NSDictionary>
NSDictionary::dictionaryWithDictionary(PlistValue::Dictionary entries) {
    return make<NSDictionary>(std::move(entries));
}

const PlistValue& NSDictionary::objectForKey(const std::string& key) const {
    static const PlistValue none;
    auto found = entries_.find(key);
    return found == entries_.end() ? none : found->second;
}
