// The program's own filters: one table of fourteen rows, keyed by class name, each naming
// the engine filter it applies, its title, the lowest system version it needs and its
// place in the strip. This class is the "None" row (the picture unchanged); its thirteen
// subclasses add nothing but their names, which select their rows, and are registered
// from the same table (subclassNames), so that discovery finds every row and nothing else.
#pragma once

#include "editor/tools/filter/PEFilterBase.h"

#include <memory>
#include <string>
#include <vector>

class CIFilter;

class PEDefaultEmptyFilter : public PEFilterBase {
    NS_OBJECT(PEDefaultEmptyFilter)
public:
    // Answers for the receiving class from its row. A class without a row is not
    // available: it has no filter to apply.
    class ClassMethods : public PEFilterBase::ClassMethods {
    public:
        // The row's value for "name", "title", "version" or "dockedNum"; null without it.
        PlistValue defaultInfoForKey(const Class& self, const std::string& key) const;
        // The engine filter's name ("PEDefaultEmptyFilter" for none).
        std::string filterName(const Class& self) const;
        std::string defaultTitle(const Class& self) const override;
        // When the system's version is at least the row's (both as single-precision
        // numbers, as versions are read).
        bool isAvailable(const Class& self) const override;
        double defaultDockedNumber(const Class& self) const override;
        // filteredImageWithFilterName with the row's filter.
        std::shared_ptr<UIImage> applyFilter(const Class& self,
                                             const std::shared_ptr<UIImage>& image) const override;
    };

    // The table, built anew on every call: class name -> {"name", "title" (localised, the
    // class name and "_DefaultTitle" as key), "version", "dockedNum"}.
    static PlistValue::Dictionary defaultFilterInfo();
    // The names of the thirteen subclasses, in the table's order.
    static std::vector<std::string> subclassNames();

    // "PEDefaultEmptyFilter" gives the picture itself. Any other name: the engine's filter
    // over the picture as shown (filterWithNameForImage), rendered over its whole extent
    // into a picture of scale 1, upright. Null when the picture is null, the name unknown
    // or the render fails (logged). Any thread: nothing is shared between calls.
    static std::shared_ptr<UIImage>
    filteredImageWithFilterName(const std::shared_ptr<UIImage>& image, const std::string& name);
    // The engine's filter of that name with its defaults and the picture as input image;
    // the vignette is centred on the picture, with a radius of half its shorter side and
    // intensity 0.9 (in pixels). Null for a null picture or an unknown name.
    static std::shared_ptr<CIFilter> filterWithNameForImage(const std::string& name,
                                                            const std::shared_ptr<UIImage>& image);
};
