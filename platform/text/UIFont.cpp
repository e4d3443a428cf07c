#include "platform/text/UIFont.h"

#include "platform/text/TextFontMap.h"

#include <hb-ot.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kDefaultSize = 12;
constexpr double kLargestSize = 10000;

double usableSize(double size) {
    if (!(size > 0)) {
        return kDefaultSize;
    }
    return std::min(size, kLargestSize);
}

// The top of a character's ink above the baseline, in the font's scale.
hb_position_t inkTop(hb_font_t* font, hb_codepoint_t character) {
    hb_codepoint_t glyph = 0;
    hb_glyph_extents_t extents{};
    if (!hb_font_get_nominal_glyph(font, character, &glyph) ||
        !hb_font_get_glyph_extents(font, glyph, &extents)) {
        return 0;
    }
    return extents.y_bearing;
}

// A height from the font's tables; DejaVu's are too old to carry cap and x heights, so
// the ink of a sample letter stands in, as font tools measure them.
hb_position_t heightMetric(hb_font_t* font, hb_ot_metrics_tag_t tag, hb_codepoint_t sample) {
    hb_position_t value = 0;
    if (hb_ot_metrics_get_position(font, tag, &value) && value > 0) {
        return value;
    }
    return inkTop(font, sample);
}

// The named weights and the numeric weights of pango (and CSS) they stand for, from thin
// (100) to black (900); a weight between two names falls between their numbers in
// proportion, so that 0.2 asks for a little less than medium.
struct WeightStop {
    double weight;
    double pango;
};
constexpr WeightStop kWeightStops[] = {
    {UIFontWeightUltraLight, 100}, {UIFontWeightThin, 200},   {UIFontWeightLight, 300},
    {UIFontWeightRegular, 400},    {UIFontWeightMedium, 500}, {UIFontWeightSemibold, 600},
    {UIFontWeightBold, 700},       {UIFontWeightHeavy, 800},  {UIFontWeightBlack, 900},
};

int pangoWeight(double weight) {
    if (std::isnan(weight)) {
        return PANGO_WEIGHT_NORMAL;
    }
    const auto* first = std::begin(kWeightStops);
    const auto* last = std::end(kWeightStops) - 1;
    if (weight <= first->weight) {
        return int(first->pango);
    }
    if (weight >= last->weight) {
        return int(last->pango);
    }
    const auto* upper = std::find_if(
        first, last + 1, [weight](const WeightStop& stop) { return stop.weight >= weight; });
    const auto* lower = upper - 1;
    const double t = (weight - lower->weight) / (upper->weight - lower->weight);
    return int(std::lround(lower->pango + t * (upper->pango - lower->pango)));
}

} // namespace

UIFont::UIFont(std::string fontName, std::string familyName, const PangoFontDescription* face,
               double size)
    : fontName_(std::move(fontName)), familyName_(std::move(familyName)),
      pointSize_(usableSize(size)), description_(pango_font_description_copy(face)) {
    pango_font_description_set_absolute_size(description_, pointSize_ * PANGO_SCALE);

    auto& map = TextFontMap::shared();
    const auto lock = map.lock();
    PangoFont* font = pango_font_map_load_font(map.fontMap(), map.measuringContext(), description_);
    if (!font) {
        return;
    }
    PangoFontMetrics* metrics = pango_font_get_metrics(font, nullptr);
    ascender_ = double(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE;
    descender_ = -double(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
    lineHeight_ = double(pango_font_metrics_get_height(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);

    hb_font_t* shaper = pango_font_get_hb_font(font);
    int xScale = 0;
    int yScale = 0;
    hb_font_get_scale(shaper, &xScale, &yScale);
    if (yScale > 0) {
        // The shaper's scale is the em size in its own units.
        const double pointsPerUnit = pointSize_ / yScale;
        capHeight_ = heightMetric(shaper, HB_OT_METRICS_TAG_CAP_HEIGHT, 'H') * pointsPerUnit;
        xHeight_ = heightMetric(shaper, HB_OT_METRICS_TAG_X_HEIGHT, 'x') * pointsPerUnit;
    }
    g_object_unref(font);
}

UIFont::~UIFont() {
    pango_font_description_free(description_);
}

std::shared_ptr<UIFont> UIFont::systemFont(const char* postScriptName, const char* description,
                                           double size) {
    if (auto font = fontWithNameSize(postScriptName, size)) {
        return font;
    }
    PangoFontDescription* face = pango_font_description_from_string(description);
    auto font = std::shared_ptr<UIFont>(
        new UIFont(postScriptName, pango_font_description_get_family(face), face, size));
    pango_font_description_free(face);
    return font;
}

std::shared_ptr<UIFont> UIFont::systemFontOfSize(double size) {
    return systemFont("DejaVuSans", "DejaVu Sans", size);
}

std::shared_ptr<UIFont> UIFont::boldSystemFontOfSize(double size) {
    return systemFont("DejaVuSans-Bold", "DejaVu Sans Bold", size);
}

std::shared_ptr<UIFont> UIFont::italicSystemFontOfSize(double size) {
    return systemFont("DejaVuSans-Oblique", "DejaVu Sans Oblique", size);
}

std::shared_ptr<UIFont> UIFont::systemFontOfSizeWeight(double size, double weight) {
    const auto regular = systemFontOfSize(size);
    PangoFontDescription* face = pango_font_description_copy(regular->description_);
    pango_font_description_set_weight(face, PangoWeight(pangoWeight(weight)));
    auto font =
        std::shared_ptr<UIFont>(new UIFont(regular->fontName_, regular->familyName_, face, size));
    pango_font_description_free(face);
    if (auto drawing = TextFontMap::shared().postScriptNameDrawing(font->description_);
        !drawing.empty()) {
        font->fontName_ = std::move(drawing);
    }
    return font;
}

std::shared_ptr<UIFont> UIFont::fontWithNameSize(const std::string& name, double size) {
    const auto* face = TextFontMap::shared().faceNamed(name);
    if (!face) {
        return nullptr;
    }
    return std::shared_ptr<UIFont>(
        new UIFont(face->postScriptName, face->familyName, face->description, size));
}

bool UIFont::isEqual(const NSObject& other) const {
    const auto* font = dynamic_cast<const UIFont*>(&other);
    return font && font->fontName_ == fontName_ && font->pointSize_ == pointSize_;
}

std::vector<std::string> UIFont::familyNames() {
    std::vector<std::string> names;
    for (const auto& face : TextFontMap::shared().faces()) {
        if (names.empty() || names.back() != face.familyName) {
            names.push_back(face.familyName);
        }
    }
    return names;
}

std::vector<std::string> UIFont::fontNamesForFamilyName(const std::string& family) {
    std::vector<std::string> names;
    for (const auto& face : TextFontMap::shared().faces()) {
        if (face.familyName == family) {
            names.push_back(face.postScriptName);
        }
    }
    return names;
}

std::shared_ptr<UIFont> UIFont::fontWithSize(double size) const {
    return make<UIFont>(fontName_, familyName_, description_, size);
}
