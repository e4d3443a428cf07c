// A named image filter with key-value inputs, as the editor drives it: made by name, given
// its defaults, its input image and parameters by key, then asked for its output image
// (a lazy pipeline; nothing is computed until a context renders it).
//
// Kept from the platform: filters by name with documented defaults, setDefaults, values by
// key checked against each input's kind, outputImage. Left out: attributes dictionaries,
// categories, generators and custom kernels. Where the platform raises an exception (an
// unknown key, a value of the wrong kind) the value is ignored with a log line instead.
#pragma once

#include "platform/base/NSObject.h"
#include "platform/coreimage/CIImage.h"
#include "platform/coreimage/CIVector.h"
#include "platform/graphics/CGAffineTransform.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct CIFilterDefinition;

inline constexpr const char* kCIInputImageKey = "inputImage";

class CIFilter : public NSObject {
    NS_OBJECT(CIFilter)
public:
    // A filter with its defaults set and no input image; null, with a log line, for a name
    // the engine does not know.
    static std::shared_ptr<CIFilter> filterWithName(const std::string& name);
    // Every name filterWithName knows, sorted.
    static std::vector<std::string> filterNames();

    const std::string& name() const;
    // The input image's key first, then the parameters' keys.
    std::vector<std::string> inputKeys() const;

    // Every parameter back to its default; the input image stays.
    void setDefaults();
    // Null removes the value (a parameter then reads as its default).
    void setValueForKey(const NSObjectPtr& value, const std::string& key);
    NSObjectPtr valueForKey(const std::string& key) const;

    // The filtered image; null without an input image or when the pipeline cannot be
    // built (logged).
    CIImagePtr outputImage() const;

    // The current values, for the filters' own code: a parameter of another kind or key
    // than asked is a programming error and reads as 0 / null / identity.
    double numberForKey(const std::string& key) const;
    CIVectorPtr vectorForKey(const std::string& key) const;
    CGAffineTransform transformForKey(const std::string& key) const;

    std::string description() const override;

private:
    explicit CIFilter(const CIFilterDefinition& definition) : definition_(&definition) {}
    const CIFilterDefinition* definition_;
    std::map<std::string, NSObjectPtr> values_;
};

using CIFilterPtr = std::shared_ptr<CIFilter>;
