// What a classic alert view tells its delegate. Every method is optional.
#pragma once

class UIAlertView;

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(UIAlertView& alertView, long buttonIndex) {}
    virtual void alertViewWillDismissWithButtonIndex(UIAlertView& alertView, long buttonIndex) {}
    virtual void alertViewDidDismissWithButtonIndex(UIAlertView& alertView, long buttonIndex) {}
};
