// Collects what a web view's asynchronous scripts answer, one line an answer in the order
// they came: the result, or "result / error description".
#pragma once

#include "platform/foundation/NSError.h"
#include "platform/webkit/UIWebView.h"

#include <string>
#include <vector>

class ScriptAnswerLog {
public:
    UIWebView::JavaScriptCompletionHandler handler() {
        return [this](const std::string& result, const std::shared_ptr<NSError>& error) {
            lines.push_back(error ? result + " / " + error->localizedDescription() : result);
        };
    }
    std::vector<std::string> lines;
};
