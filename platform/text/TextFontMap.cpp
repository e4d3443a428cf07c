#include "platform/text/TextFontMap.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string_view>
#include <tuple>

namespace {

// The bundle's font files, in name order so that the font set is the same on every run.
std::vector<std::string> bundledFontFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const auto extension = entry.path().extension().string();
        if (entry.is_regular_file(ec) && (extension == ".ttf" || extension == ".otf")) {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string patternString(FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) {
        return "";
    }
    return reinterpret_cast<const char*>(value);
}

bool isRegular(const PangoFontDescription* description) {
    return pango_font_description_get_weight(description) == PANGO_WEIGHT_NORMAL &&
           pango_font_description_get_style(description) == PANGO_STYLE_NORMAL &&
           pango_font_description_get_stretch(description) == PANGO_STRETCH_NORMAL;
}

// The same family, weight, style and stretch; sizes aside.
bool sameFace(const PangoFontDescription* a, const PangoFontDescription* b) {
    const char* familyA = pango_font_description_get_family(a);
    const char* familyB = pango_font_description_get_family(b);
    return familyA && familyB && std::string_view(familyA) == familyB &&
           pango_font_description_get_weight(a) == pango_font_description_get_weight(b) &&
           pango_font_description_get_style(a) == pango_font_description_get_style(b) &&
           pango_font_description_get_stretch(a) == pango_font_description_get_stretch(b);
}

} // namespace

namespace {
// Never destroyed: fonts may still be in use by other static objects at exit. A map that
// resetForTesting replaced stays in `retired` for the same reason.
struct SharedMaps {
    std::mutex mutex;
    std::atomic<TextFontMap*> current{nullptr};
    std::vector<TextFontMap*> retired;
};

SharedMaps& sharedMaps() {
    static auto* maps = new SharedMaps;
    return *maps;
}
} // namespace

TextFontMap& TextFontMap::shared() {
    SharedMaps& maps = sharedMaps();
    if (TextFontMap* map = maps.current.load(std::memory_order_acquire)) {
        return *map;
    }
    std::lock_guard lock(maps.mutex);
    if (!maps.current.load(std::memory_order_relaxed)) {
        maps.current.store(new TextFontMap(NSBundle::mainBundle()->bundlePath()),
                           std::memory_order_release);
    }
    return *maps.current.load(std::memory_order_relaxed);
}

void TextFontMap::resetForTesting() {
    SharedMaps& maps = sharedMaps();
    std::lock_guard lock(maps.mutex);
    TextFontMap* map = maps.current.load(std::memory_order_relaxed);
    if (map && map->bundlePath_ != NSBundle::mainBundle()->bundlePath()) {
        maps.retired.push_back(map);
        maps.current.store(nullptr, std::memory_order_release);
    }
}

TextFontMap::TextFontMap(std::string bundlePath) : bundlePath_(std::move(bundlePath)) {
    const std::string folder = bundlePath_ + "/Fonts";
    // An empty configuration: no system fonts, no host rules. Files are added one by one
    // rather than as a folder, which would try to write a cache the configuration has no
    // place for.
    FcConfig* config = FcConfigCreate();
    for (const auto& file : bundledFontFiles(folder)) {
        if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file.c_str()))) {
            NSLog("Text: cannot read the font %@", file);
        }
    }
    FcConfigBuildFonts(config);

    if (FcFontSet* set = FcConfigGetFonts(config, FcSetApplication)) {
        for (int i = 0; i < set->nfont; ++i) {
            Face face;
            face.postScriptName = patternString(set->fonts[i], FC_POSTSCRIPT_NAME);
            face.familyName = patternString(set->fonts[i], FC_FAMILY);
            if (face.postScriptName.empty() || face.familyName.empty()) {
                continue;
            }
            face.description = pango_fc_font_description_from_pattern(set->fonts[i], FALSE);
            faces_.push_back(std::move(face));
        }
    }
    std::sort(faces_.begin(), faces_.end(), [](const Face& a, const Face& b) {
        return std::tie(a.familyName, a.postScriptName) < std::tie(b.familyName, b.postScriptName);
    });
    if (faces_.empty()) {
        NSLog("Text: no fonts in %@; text will show as boxes", folder);
    }

    fontMap_ = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_), config);
    FcConfigDestroy(config); // the font map holds its own reference
    // Sizes are absolute, in points, which are the unit of user space.
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap_), 72);
    measuringContext_ = createContext();
}

PangoContext* TextFontMap::createContext() const {
    PangoContext* context = pango_font_map_create_context(fontMap_);
    // These options win over whatever a target surface suggests when drawing.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    return context;
}

PangoContext* TextFontMap::createContextForCairo(cairo_t* cr) const {
    PangoContext* context = createContext();
    pango_cairo_update_context(cr, context);
    return context;
}

const TextFontMap::Face* TextFontMap::faceNamed(const std::string& name) const {
    const Face* familyMatch = nullptr;
    for (const auto& face : faces_) {
        if (face.postScriptName == name) {
            return &face;
        }
        const bool better =
            !familyMatch || (!isRegular(familyMatch->description) && isRegular(face.description));
        if (face.familyName == name && better) {
            familyMatch = &face;
        }
    }
    return familyMatch;
}

std::string TextFontMap::postScriptNameDrawing(const PangoFontDescription* description) {
    const auto held = lock();
    PangoFont* font = pango_font_map_load_font(fontMap_, measuringContext_, description);
    if (!font) {
        return "";
    }
    // Told by the face's description rather than read from the font's own pattern, which
    // pango's font thread made: the faces were listed on this thread.
    PangoFontDescription* drawn = pango_font_describe(font);
    g_object_unref(font);
    std::string name;
    for (const auto& face : faces_) {
        if (sameFace(face.description, drawn)) {
            name = face.postScriptName;
            break;
        }
    }
    pango_font_description_free(drawn);
    return name;
}

