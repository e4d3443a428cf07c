// The engine's full version text: the SDK version, its pre-release identifiers after "-"
// and its build metadata after "+".
#pragma once

#include <string>

namespace ZADRequestVersionInfo {

// "-rc.1"; "" when there are no identifiers.
std::string sdkVersionIdentifiers();
// "+" and the build's commit; "" when there is none.
std::string sdkVersionMetadata();
// The three joined, made once per process.
const std::string& extendedSDKVersionNumber();

} // namespace ZADRequestVersionInfo
