// A typeface at a size, with the metrics text layout needs. Only the fonts bundled with the
// app exist (Debian's DejaVu families); the system font is DejaVu Sans.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <string>
#include <vector>

typedef struct _PangoFontDescription PangoFontDescription;

// The platform's named weights, on its continuous scale from -1 (lightest) through 0
// (regular) to 1 (heaviest).
inline constexpr double UIFontWeightUltraLight = -0.8;
inline constexpr double UIFontWeightThin = -0.6;
inline constexpr double UIFontWeightLight = -0.4;
inline constexpr double UIFontWeightRegular = 0;
inline constexpr double UIFontWeightMedium = 0.23;
inline constexpr double UIFontWeightSemibold = 0.3;
inline constexpr double UIFontWeightBold = 0.4;
inline constexpr double UIFontWeightHeavy = 0.56;
inline constexpr double UIFontWeightBlack = 0.62;

class UIFont : public NSObject {
    NS_OBJECT(UIFont)
public:
    // A size that is not a positive number is taken as 12 points, as the platform does for
    // zero; sizes beyond 10000 points are clamped.
    static std::shared_ptr<UIFont> systemFontOfSize(double size);
    static std::shared_ptr<UIFont> boldSystemFontOfSize(double size);
    static std::shared_ptr<UIFont> italicSystemFontOfSize(double size);
    // The system font at a weight of the scale above (beyond it, or not a number, is taken
    // as its nearest end, or regular). The weight is kept as asked in the pango
    // description; the bundled face nearest to it draws the text (DejaVu Sans has extra
    // light, book and bold), and `fontName` names that face.
    static std::shared_ptr<UIFont> systemFontOfSizeWeight(double size, double weight);
    // By PostScript name ("DejaVuSans-Bold", "DejaVuSerif-Italic") or family name ("DejaVu
    // Serif", its regular face); null for a font the app does not have.
    static std::shared_ptr<UIFont> fontWithNameSize(const std::string& name, double size);

    // The bundled families, sorted.
    static std::vector<std::string> familyNames();
    // The PostScript names of a family's faces, sorted; empty for an unknown family.
    static std::vector<std::string> fontNamesForFamilyName(const std::string& family);

    std::shared_ptr<UIFont> fontWithSize(double size) const;
    // The same face at the same size.
    bool isEqual(const NSObject& other) const override;

    const std::string& fontName() const { return fontName_; }
    const std::string& familyName() const { return familyName_; }
    double pointSize() const { return pointSize_; }
    // Above the baseline (positive) and below it (negative), in points.
    double ascender() const { return ascender_; }
    double descender() const { return descender_; }
    // The distance from one baseline to the next in a paragraph.
    double lineHeight() const { return lineHeight_; }
    double capHeight() const { return capHeight_; }
    double xHeight() const { return xHeight_; }

    // For the text code: family, face and absolute size in points, owned by the font.
    const PangoFontDescription* pangoFontDescription() const { return description_; }

    ~UIFont() override;

private:
    UIFont(std::string fontName, std::string familyName, const PangoFontDescription* face,
           double size);
    // The bundled face of that name, else one made from `description`, which pango matches
    // to whatever fonts exist, so that the system fonts are never null.
    static std::shared_ptr<UIFont> systemFont(const char* postScriptName, const char* description,
                                              double size);

    std::string fontName_;
    std::string familyName_;
    double pointSize_;
    PangoFontDescription* description_;
    double ascender_ = 0;
    double descender_ = 0;
    double lineHeight_ = 0;
    double capHeight_ = 0;
    double xHeight_ = 0;
};
