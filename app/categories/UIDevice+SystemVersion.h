// The platform version as a number (read as a float: "9.3.5" is 9.3).
#pragma once

namespace SystemVersion {
double iosVersion();
} // namespace SystemVersion
