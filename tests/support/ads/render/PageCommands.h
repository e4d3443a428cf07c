// The commands the engine had a scripted page run through the ad view (each wrapped in
// the page's zero-delay timer), unwrapped, in order.
#pragma once

#include "tests/support/webkit/FakeWebViewEngine.h"

#include <string>
#include <vector>

inline std::vector<std::string> commandsRunIn(const FakeWebViewEngine& engine) {
    const std::string prefix = "setTimeout(function(){";
    const std::string suffix = "\n}, 1);";
    std::vector<std::string> commands;
    for (const auto& script : engine.scripts) {
        if (script.starts_with(prefix) && script.ends_with(suffix)) {
            commands.push_back(
                script.substr(prefix.size(), script.size() - prefix.size() - suffix.size()));
        }
    }
    return commands;
}
