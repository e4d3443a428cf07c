// How a tool, filter or effect class describes itself to the editor's menus. These are the
// class's own methods (not an instance's): each is given the receiving class, so a
// subclass that does not answer differently inherits them and still answers as itself.
// A class adopts the protocol by registering class methods of a type deriving from it.
#pragma once

#include "platform/foundation/PlistValue.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct Class;
class PEImageToolInfo;

class PEImageToolProtocol {
public:
    virtual ~PEImageToolProtocol() = default;

    // The menu icon's file path; none when the class has no icon.
    virtual std::optional<std::string> defaultIconImagePath(const Class& self) const = 0;
    // The sort key in its menu, ascending.
    virtual double defaultDockedNumber(const Class& self) const = 0;
    // The menu title, already localised.
    virtual std::string defaultTitle(const Class& self) const = 0;
    // NO keeps the class out of every menu.
    virtual bool isAvailable(const Class& self) const = 0;
    // Second-level entries of the tool; none for a tool without a list of its own.
    virtual std::optional<std::vector<std::shared_ptr<PEImageToolInfo>>>
    subtools(const Class& self) const = 0;
    // Settings a host may change per tool before it opens (asset names, paths, sizes).
    virtual std::optional<PlistValue::Dictionary> optionalInfo(const Class& self) const = 0;
};
