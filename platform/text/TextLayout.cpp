#include "platform/text/TextLayout.h"

#include "platform/text/TextFontMap.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond this, a limit is as good as none (and would overflow pango's integer units).
constexpr double kLargestLimit = 1e6;
const char* const kEllipsis = "\u2026";

double usableLimit(double limit) {
    return limit > 0 && limit < kLargestLimit ? limit : 0;
}

// Sums of pango's integer units are made in doubles: a face without metrics (a font that
// failed to load) reports extents near the int range.
double points(double pangoUnits) {
    return pangoUnits / PANGO_SCALE;
}

// Pango's integer units for a length in points, within what they can hold.
int pangoUnits(double points) {
    return int(std::clamp(points, -kLargestLimit, kLargestLimit) * PANGO_SCALE);
}

// Pango needs valid UTF-8; bad bytes (and NULs) become U+FFFD.
std::string validText(std::string_view text) {
    if (text.empty()) {
        return "";
    }
    gchar* valid = g_utf8_make_valid(text.data(), gssize(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

bool truncates(NSLineBreakMode mode) {
    return mode == NSLineBreakMode::ByTruncatingHead || mode == NSLineBreakMode::ByTruncatingTail ||
           mode == NSLineBreakMode::ByTruncatingMiddle;
}

PangoEllipsizeMode ellipsizeMode(NSLineBreakMode mode) {
    switch (mode) {
    case NSLineBreakMode::ByTruncatingHead:
        return PANGO_ELLIPSIZE_START;
    case NSLineBreakMode::ByTruncatingMiddle:
        return PANGO_ELLIPSIZE_MIDDLE;
    case NSLineBreakMode::ByTruncatingTail:
        return PANGO_ELLIPSIZE_END;
    default:
        return PANGO_ELLIPSIZE_NONE;
    }
}

struct LineBox {
    PangoLayoutLine* line;
    PangoRectangle logical;
    int baseline;
};

std::vector<LineBox> lineBoxes(PangoLayout* layout) {
    std::vector<LineBox> boxes;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        LineBox box{pango_layout_iter_get_line_readonly(iter), {}, 0};
        pango_layout_iter_get_line_extents(iter, nullptr, &box.logical);
        box.baseline = pango_layout_iter_get_baseline(iter);
        boxes.push_back(box);
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return boxes;
}

} // namespace

TextLayout::TextLayout(std::string_view text, const TextStyle& style, const Limits& limits,
                       Truncation truncation, CGContextRef target)
    : text_(validText(text)), font_(style.font ? style.font : UIFont::systemFontOfSize(12)),
      foreground_(style.foreground), stroke_(style.stroke.value_or(style.foreground)),
      strokeWidth_(std::isfinite(style.strokeWidth) ? style.strokeWidth : 0),
      kern_(std::isfinite(style.kern) ? style.kern : 0), widthLimit_(usableLimit(limits.width)),
      target_(std::move(target)),
      context_(target_ ? TextFontMap::shared().createContextForCairo(target_->cairo())
                       : PANGO_CONTEXT(g_object_ref(TextFontMap::shared().measuringContext()))) {
    if (const auto& paragraph = style.paragraphStyle) {
        alignment_ = paragraph->alignment();
        mode_ = paragraph->lineBreakMode();
        lineSpacing_ = paragraph->lineSpacing();
    }
    if (text_.empty()) {
        return;
    }

    layout_ = makeLayout(text_);
    const bool cutsEachParagraph = truncation == Truncation::EachParagraph && widthLimit_ > 0 &&
                                   (truncates(mode_) || mode_ == NSLineBreakMode::ByClipping);
    if (cutsEachParagraph && truncates(mode_)) {
        // One line a paragraph, each ellipsized at the width.
        pango_layout_set_width(layout_, pangoUnits(widthLimit_));
        pango_layout_set_ellipsize(layout_, ellipsizeMode(mode_));
        pango_layout_set_height(layout_, -1);
    } else if (cutsEachParagraph) {
        clips_ = true;
    } else if (widthLimit_ > 0) {
        pango_layout_set_width(layout_, pangoUnits(widthLimit_));
        pango_layout_set_wrap(layout_, mode_ == NSLineBreakMode::ByCharWrapping
                                           ? PANGO_WRAP_CHAR
                                           : PANGO_WRAP_WORD_CHAR);
    }

    const std::vector<LineBox> boxes = lineBoxes(layout_);
    size_t shown = boxes.size();
    if (limits.lines > 0) {
        shown = std::min(shown, size_t(limits.lines));
    }
    if (const double heightLimit = usableLimit(limits.height); heightLimit > 0) {
        // A rounding unit of slack, so that a limit of n line heights holds n lines.
        const int bottomLimit = int(std::ceil(heightLimit * PANGO_SCALE)) + 1;
        size_t fitting = 1;
        while (fitting < shown &&
               boxes[fitting].logical.y + boxes[fitting].logical.height <= bottomLimit) {
            ++fitting;
        }
        shown = std::min(shown, fitting);
    }

    const bool cutsLastLine = truncation == Truncation::LastLine && shown < boxes.size() &&
                              widthLimit_ > 0 &&
                              (truncates(mode_) || mode_ == NSLineBreakMode::ByClipping);
    // Lines that are not wrapped at the width are aligned within it here.
    const auto place = [&](const LineBox& box, double top, bool clipped) {
        const double width = points(box.logical.width);
        const double x = clipped ? alignedX(width) : points(box.logical.x);
        lines_.push_back({box.line, x, top + points(box.baseline)});
        size_.width = std::max(size_.width, clipped ? std::min(width, widthLimit_) : width);
        size_.height = top + points(double(box.logical.y) + box.logical.height);
    };
    for (size_t i = 0; i < (cutsLastLine ? shown - 1 : shown); ++i) {
        place(boxes[i], 0, clips_);
    }
    if (cutsLastLine) {
        const LineBox& box = boxes[shown - 1];
        lastLine_ = makeCutLine(text_.substr(size_t(box.line->start_index)));
        clips_ = mode_ == NSLineBreakMode::ByClipping;
        place(lineBoxes(lastLine_).front(), points(box.logical.y), clips_);
    }
}

TextLayout::~TextLayout() {
    if (lastLine_) {
        g_object_unref(lastLine_);
    }
    if (layout_) {
        g_object_unref(layout_);
    }
    g_object_unref(context_);
}

PangoLayout* TextLayout::makeLayout(const std::string& text) const {
    PangoLayout* layout = pango_layout_new(context_);
    pango_layout_set_font_description(layout, font_->pangoFontDescription());
    pango_layout_set_text(layout, text.data(), int(text.size()));
    PangoAttrList* list = pango_attr_list_new();
    // Words broken across lines get no hyphen, as on the platform.
    pango_attr_list_insert(list, pango_attr_insert_hyphens_new(FALSE));
    if (kern_ != 0) {
        pango_attr_list_insert(list, pango_attr_letter_spacing_new(pangoUnits(kern_)));
    }
    pango_layout_set_attributes(layout, list);
    pango_attr_list_unref(list);
    // Left and right are where the platform says, whatever the writing direction; natural
    // follows the direction of each paragraph.
    pango_layout_set_auto_dir(layout, alignment_ == NSTextAlignment::Natural);
    switch (alignment_) {
    case NSTextAlignment::Center:
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
        break;
    case NSTextAlignment::Right:
        pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
        break;
    case NSTextAlignment::Justified:
        pango_layout_set_justify(layout, TRUE);
        pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
        break;
    case NSTextAlignment::Left:
    case NSTextAlignment::Natural:
        pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
        break;
    }
    pango_layout_set_spacing(layout, pangoUnits(lineSpacing_));
    return layout;
}

PangoLayout* TextLayout::makeCutLine(const std::string& rest) const {
    const size_t paragraphEnd = rest.find_first_of("\r\n");
    std::string line;
    if (mode_ == NSLineBreakMode::ByClipping) {
        line = rest.substr(0, paragraphEnd);
    } else if (mode_ == NSLineBreakMode::ByTruncatingTail && paragraphEnd != std::string::npos) {
        // The paragraph may fit, but the paragraphs after it are hidden all the same.
        line = rest.substr(0, paragraphEnd) + kEllipsis;
    } else {
        // Head and middle truncation keep the end of the text in view, across paragraphs.
        for (size_t i = 0; i < rest.size(); ++i) {
            const bool breaks = rest[i] == '\n' || rest[i] == '\r';
            if (!breaks) {
                line += rest[i];
            } else if (line.empty() || line.back() != ' ') {
                line += ' ';
            }
        }
    }
    PangoLayout* layout = makeLayout(line);
    if (mode_ != NSLineBreakMode::ByClipping) {
        pango_layout_set_width(layout, pangoUnits(widthLimit_));
        pango_layout_set_ellipsize(layout, ellipsizeMode(mode_));
    }
    return layout;
}

double TextLayout::alignedX(double width) const {
    switch (alignment_) {
    case NSTextAlignment::Center:
        return (widthLimit_ - width) / 2;
    case NSTextAlignment::Right:
        return widthLimit_ - width;
    default:
        return 0;
    }
}

CGRect TextLayout::caretRectAtIndex(size_t index) const {
    if (!layout_) {
        return CGRectMake(alignedX(0), 0, 0, font_->lineHeight());
    }
    PangoRectangle caret;
    pango_layout_get_cursor_pos(layout_, int(std::min(index, text_.size())), &caret, nullptr);
    return CGRectMake(points(caret.x), points(caret.y), 0, points(caret.height));
}

void TextLayout::drawAtPoint(const CGPoint& origin) const {
    if (!target_ || lines_.empty()) {
        return;
    }
    CGContextSaveGState(target_);
    if (clips_) {
        // Across the width limit only; ink may reach past the lines' boxes vertically.
        const double margin = font_->pointSize();
        CGContextClipToRect(target_, CGRectMake(origin.x, origin.y - margin, widthLimit_,
                                                size_.height + 2 * margin));
    }
    if (target_->textDrawingMode() == kCGTextStroke) {
        // The glyphs' outlines in the text's colour, as the graphics state strokes lines.
        cairo_t* state = target_->cairo();
        const double width = cairo_get_line_width(state);
        const cairo_line_join_t join = cairo_get_line_join(state);
        CGContextSetFillColorWithColor(target_, foreground_);
        target_->fillShape([&](cairo_t* cr) {
            cairo_set_line_join(cr, join);
            paintLines(cr, origin, width);
        });
    } else {
        if (strokeWidth_ <= 0) {
            CGContextSetFillColorWithColor(target_, foreground_);
            target_->fillShape([&](cairo_t* cr) { paintLines(cr, origin, std::nullopt); });
        }
        if (strokeWidth_ != 0) {
            CGContextSetFillColorWithColor(target_, stroke_);
            target_->fillShape([&](cairo_t* cr) {
                paintLines(cr, origin, std::fabs(strokeWidth_) / 100 * font_->pointSize());
            });
        }
    }
    CGContextRestoreGState(target_);
}

void TextLayout::paintLines(cairo_t* cr, const CGPoint& origin,
                            std::optional<double> outlineWidth) const {
    cairo_new_path(cr);
    for (const auto& line : lines_) {
        cairo_move_to(cr, origin.x + line.x, origin.y + line.baseline);
        if (outlineWidth) {
            pango_cairo_layout_line_path(cr, line.line);
        } else {
            pango_cairo_show_layout_line(cr, line.line);
        }
    }
    if (outlineWidth) {
        cairo_set_line_width(cr, *outlineWidth);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}
