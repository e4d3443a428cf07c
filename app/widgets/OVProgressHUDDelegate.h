// What a progress overlay tells its delegate once it has been hidden. Optional.
#pragma once

class OVProgressHUD;

class OVProgressHUDDelegate {
public:
    virtual ~OVProgressHUDDelegate() = default;
    virtual void hudWasHidden(OVProgressHUD& hud) {}
};
