// Text laid out by pango, to measure and to draw: the engine under NSStringDrawing and
// UILabel. Platform-internal. Pango is not safe for concurrent use: make, use and drop a
// TextLayout while holding TextFontMap::shared().lock().
#pragma once

#include "platform/graphics/CGContext.h"
#include "platform/graphics/CGGeometry.h"
#include "platform/text/TextStyle.h"

#include <pango/pangocairo.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TextLayout {
public:
    // Where a line break mode that truncates or clips applies: to every paragraph, each
    // kept on one line (string drawing), or to the last line shown, the lines above it
    // wrapping at words (labels).
    enum class Truncation { EachParagraph, LastLine };

    struct Limits {
        // Not positive or not finite: unlimited, which also means no wrapping or truncation.
        double width = 0;
        // Not positive or not finite: unlimited; else the whole lines that fit, and always
        // the first.
        double height = 0;
        // Not positive: unlimited.
        long lines = 0;
    };

    // Lays the text out for measuring, or for drawing into `target` when one is given.
    // Invalid UTF-8 is shown as replacement characters.
    TextLayout(std::string_view text, const TextStyle& style, const Limits& limits,
               Truncation truncation, CGContextRef target = nullptr);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // The lines shown: how many, and their extent from the first line's top to the last
    // line's bottom and across the widest. Empty text has no lines and a zero size.
    long lineCount() const { return long(lines_.size()); }
    CGSize size() const { return size_; }
    // From the top of the first line to its baseline; 0 without lines.
    double firstBaseline() const { return lines_.empty() ? 0 : lines_.front().baseline; }

    // Where a caret before the byte `index` of the text stands (at the end for an index
    // past it): its x, its line's top and height, from the first line's top left. For
    // empty text, a line of the font's height where the alignment puts the first
    // character. Meant for text laid out whole (no cut last line).
    CGRect caretRectAtIndex(size_t index) const;

    // Draws into the target given at construction (nothing without one), the lines' top
    // left corner at `origin`; lines align within the width limit, else within the widest.
    // The context's alpha, blend mode, shadow and clip apply; in the stroking text mode
    // the glyphs' outlines are stroked in the text's colour instead of filled.
    void drawAtPoint(const CGPoint& origin) const;

private:
    struct Line {
        PangoLayoutLine* line; // owned by layout_ or lastLine_
        double x;
        double baseline;
    };

    PangoLayout* makeLayout(const std::string& text) const;
    // Fills the glyphs of the lines shown, or strokes their outlines that wide.
    void paintLines(cairo_t* cr, const CGPoint& origin, std::optional<double> outlineWidth) const;
    // The last line shown when more text follows it and the mode cuts the text there: the
    // rest of the text, ellipsized or clipped, on one line of its own.
    PangoLayout* makeCutLine(const std::string& rest) const;
    // Where a line `width` wide starts when aligned within the width limit by hand (pango
    // aligns only lines it wraps).
    double alignedX(double width) const;

    std::string text_;
    std::shared_ptr<UIFont> font_;
    CGColor foreground_;
    CGColor stroke_;
    double strokeWidth_;
    double kern_;
    NSTextAlignment alignment_ = NSTextAlignment::Left;
    NSLineBreakMode mode_ = NSLineBreakMode::ByWordWrapping;
    double lineSpacing_ = 0;
    double widthLimit_ = 0;
    // Lines run past the width limit and are cut at its edges when drawn.
    bool clips_ = false;

    CGContextRef target_;
    PangoContext* context_;
    PangoLayout* layout_ = nullptr;
    PangoLayout* lastLine_ = nullptr;
    std::vector<Line> lines_;
    CGSize size_{};
};
