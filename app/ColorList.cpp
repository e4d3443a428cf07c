#include "app/ColorList.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSPropertyListSerialization.h"

std::vector<std::string> loadBundleColorList(const std::string& reader) {
    std::vector<std::string> colors;
    std::string path = NSBundle::mainBundle()->pathForResourceOfType("color", "plist");
    if (path.empty()) {
        NSLog("%@: the colour list is missing", reader);
        return colors;
    }
    std::shared_ptr<NSError> error;
    auto list = NSPropertyListSerialization::propertyListWithContentsOfFile(path, &error);
    if (!list || !list->array()) {
        NSLog("%@: the colour list %@ is not a list", reader, path);
        return colors;
    }
    for (const auto& item : *list->array()) {
        if (item.string()) {
            colors.push_back(*item.string());
        }
    }
    return colors;
}
