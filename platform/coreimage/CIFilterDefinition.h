// What the filter engine knows of one named filter: its inputs with their kinds and
// defaults, and how it builds its output from them.
#pragma once

#include "platform/base/NSObject.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CIFilter;
class CIImage;

enum class CIFilterInputKind {
    Image,     // CIImage
    Number,    // NSNumber
    Vector,    // CIVector
    Transform, // NSValue holding a CGAffineTransform
};

struct CIFilterInputDefinition {
    std::string key;
    CIFilterInputKind kind;
    // Null for the input image, which has no default.
    NSObjectPtr defaultValue;
};

struct CIFilterDefinition {
    std::string name;
    // The input image ("inputImage") first, then the parameters.
    std::vector<CIFilterInputDefinition> inputs;
    // The output for the filter's current inputs; its input image is set. May throw
    // vips::VError, which the filter reports.
    std::function<std::shared_ptr<CIImage>(const CIImage& input, const CIFilter& filter)> apply;
};

// The inputs of the catalog's tables.
CIFilterInputDefinition imageInput();
CIFilterInputDefinition numberInput(const std::string& key, double defaultValue);
CIFilterInputDefinition vectorInput(const std::string& key, double x, double y);
CIFilterInputDefinition transformInput(const std::string& key);
