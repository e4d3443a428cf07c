// The signed-in user's access tokens. Signed-in ads are not built yet: a refresh after the
// server's constants change finds no user to refresh.
#pragma once

class ZADTokenDispenser {
public:
    static void refreshSignedInUser() {}
};
