// What watches one active-view unit tracked by a page (the slot's active-view monitor):
// told on the main thread when the page reports the unit's visibility and when its
// monitoring stops.
#pragma once

class ZADActiveViewObserver {
public:
    virtual ~ZADActiveViewObserver() = default;
    virtual void activeViewVisibilityChanged(bool visible) {}
    virtual void activeViewMonitoringDidStop() {}
};
