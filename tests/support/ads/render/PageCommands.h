// The commands the engine had a scripted page run through the ad view (each wrapped in
// the page's zero-delay timer), unwrapped, in order.
#pragma once

#include "ads/render/ZADAdView.h"
#include "tests/support/webkit/FakeWebViewEngine.h"

#include <string>
#include <vector>

inline std::vector<std::string> commandsRunIn(const FakeWebViewEngine& engine) {
    // The wrapper's two sides, found around a marker no command holds.
    const std::string marker = "\x01";
    const std::string wrapped = ZADAdView::JSCommandForAsynchronousScript(marker);
    const std::string prefix = wrapped.substr(0, wrapped.find(marker));
    const std::string suffix = wrapped.substr(prefix.size() + marker.size());
    std::vector<std::string> commands;
    for (const auto& script : engine.scripts) {
        if (script.starts_with(prefix) && script.ends_with(suffix)) {
            commands.push_back(
                script.substr(prefix.size(), script.size() - prefix.size() - suffix.size()));
        }
    }
    return commands;
}
