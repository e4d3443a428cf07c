// The one pango font map all text is laid out with: a private fontconfig configuration
// holding only the fonts in the main bundle's "Fonts" folder, so that text never depends on
// what the host has installed, with unhinted metrics and subpixel glyph positions, so that
// sizes are the same on every output. Platform-internal; pango types stay behind it.
#pragma once

#include <pango/pangocairo.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TextFontMap {
public:
    struct Face {
        std::string postScriptName;
        // The font's first (typographic) family: "DejaVu Sans" also for its condensed faces.
        std::string familyName;
        // Family, weight, style and stretch that select this face; no size.
        PangoFontDescription* description = nullptr;
    };

    // Built on first use from the main bundle of that moment; it lives as long as the
    // process.
    static TextFontMap& shared();
    // Builds the map again, on next use, when the main bundle is no longer the one it was
    // built from (between tests). The old map stays alive: fonts made from it may still be
    // referenced.
    static void resetForTesting();

    // Pango's font maps and the fonts they cache are not safe for concurrent use: hold this
    // around every pango call. Recursive, so that text code may make fonts while holding it.
    std::unique_lock<std::recursive_mutex> lock() { return std::unique_lock(mutex_); }

    // Every bundled face, sorted by family, then by PostScript name.
    const std::vector<Face>& faces() const { return faces_; }
    // The face of that PostScript name, else the regular face of that family; null when
    // neither exists.
    const Face* faceNamed(const std::string& name) const;
    // The PostScript name of the face pango draws `description` with; empty when no face
    // loads. Takes the lock.
    std::string postScriptNameDrawing(const PangoFontDescription* description);

    PangoFontMap* fontMap() const { return fontMap_; }
    // A context for measuring, in points with no transform.
    PangoContext* measuringContext() const { return measuringContext_; }
    // A new context (the caller unrefs it) for laying out text to be drawn into `cr`.
    PangoContext* createContextForCairo(cairo_t* cr) const;

private:
    explicit TextFontMap(std::string bundlePath);
    TextFontMap(const TextFontMap&) = delete;
    TextFontMap& operator=(const TextFontMap&) = delete;
    PangoContext* createContext() const;

    std::recursive_mutex mutex_;
    const std::string bundlePath_;
    std::vector<Face> faces_;
    PangoFontMap* fontMap_ = nullptr;
    PangoContext* measuringContext_ = nullptr;
};
