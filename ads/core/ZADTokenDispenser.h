// The signed-in user's access tokens. Signed-in ads are not built yet: a refresh after the
// server's constants change finds no user to refresh, no token is at hand, and a token the
// server cleared has nothing to refresh.
#pragma once

#include <optional>
#include <string>

class ZADTokenDispenser {
public:
    static void refreshSignedInUser() {}
    static std::optional<std::string> token() { return std::nullopt; }
    static void refreshToken(const std::string&) {}
};
