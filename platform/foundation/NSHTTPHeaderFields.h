// HTTP header fields by name. Names compare without regard to ASCII case, as HTTP wants;
// a name keeps the spelling it was first stored with.
#pragma once

#include <map>
#include <string>
#include <strings.h>

struct NSHTTPHeaderNameLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

using NSHTTPHeaderFields = std::map<std::string, std::string, NSHTTPHeaderNameLess>;
