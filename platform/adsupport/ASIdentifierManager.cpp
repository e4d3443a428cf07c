#include "platform/adsupport/ASIdentifierManager.h"

#include "platform/base/ResettableSingleton.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSPropertyListSerialization.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PlistValue.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>

namespace {

constexpr const char* kIdentifierKey = "advertisingIdentifier";
constexpr const char* kTrackingKey = "advertisingTrackingEnabled";

ResettableSingleton<ASIdentifierManager>& shared() {
    static ResettableSingleton<ASIdentifierManager> manager;
    return manager;
}

std::string filePath() {
    return stringByAppendingPathComponent(NSHomeDirectory(),
                                          "Library/Preferences/AdvertisingIdentifier.plist");
}

// A random (version 4) UUID in the platform's upper-case text.
std::string randomUUIDString() {
    std::random_device source;
    std::array<uint8_t, 16> bytes{};
    for (auto& byte : bytes) {
        byte = static_cast<uint8_t>(source());
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            text += '-';
        }
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        text += pair;
    }
    return text;
}

// Whether the text has the shape of an upper-case UUID.
bool isUUIDString(const std::string& text) {
    if (text.size() != 36) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

} // namespace

std::shared_ptr<ASIdentifierManager> ASIdentifierManager::sharedManager() {
    return shared().instance([] { return make<ASIdentifierManager>(); });
}

void ASIdentifierManager::resetForTesting() {
    shared().reset();
}

std::string ASIdentifierManager::advertisingIdentifierUUIDString() {
    std::lock_guard lock(mutex_);
    loadLocked();
    return identifier_;
}

bool ASIdentifierManager::isAdvertisingTrackingEnabled() {
    std::lock_guard lock(mutex_);
    loadLocked();
    return trackingEnabled_;
}

void ASIdentifierManager::setAdvertisingTrackingEnabled(bool enabled) {
    std::lock_guard lock(mutex_);
    loadLocked();
    trackingEnabled_ = enabled;
    saveLocked();
}

void ASIdentifierManager::loadLocked() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    std::shared_ptr<NSError> error;
    auto contents = NSPropertyListSerialization::propertyListWithContentsOfFile(filePath(), &error);
    const PlistValue::Dictionary* stored = contents ? contents->dictionary() : nullptr;
    if (stored) {
        if (auto found = stored->find(kIdentifierKey); found != stored->end()) {
            if (const auto* text = found->second.string(); text && isUUIDString(*text)) {
                identifier_ = *text;
            }
        }
        if (auto found = stored->find(kTrackingKey);
            found != stored->end() && found->second.type() == PlistValue::Type::Boolean) {
            trackingEnabled_ = found->second.boolValue();
        }
    }
    if (identifier_.empty()) {
        // A file that is missing, damaged or holds no usable identifier gets a new one.
        identifier_ = randomUUIDString();
        saveLocked();
    }
}

void ASIdentifierManager::saveLocked() const {
    PlistValue::Dictionary contents{{kIdentifierKey, PlistValue(identifier_)},
                                    {kTrackingKey, PlistValue(trackingEnabled_)}};
    std::shared_ptr<NSError> error;
    auto data = NSPropertyListSerialization::dataWithPropertyList(
        PlistValue(std::move(contents)), NSPropertyListFormat::XML, &error);
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(filePath()).parent_path(), ignored);
    if (!data || !NSData::writeToFileAtomically(*data, filePath())) {
        NSLog("Cannot keep the advertising identifier in %@", filePath());
    }
}
