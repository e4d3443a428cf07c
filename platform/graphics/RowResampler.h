// Scales part of a grid of 32-bit pixels to a given size while its rows arrive one by one
// from a decoder, by area averaging: each result pixel is the mean of the source area it
// covers, partial pixels weighted by how much of them it covers. Right for shrinking photos
// (no aliasing, no ringing); over premultiplied pixels, so edges of transparent areas do
// not darken. Memory is the result, the weights and a few rows: never the whole source.
// Pixels that arrive scattered instead (the passes of an interlaced file) are added up
// into sums as large as four results, still never the source.
// Weights are 8-bit fractions, so where a result pixel spans more than 256 source pixels
// along a side, some of them weigh nothing (the mean becomes a sample of them).
#pragma once

#include "platform/graphics/CGGeometry.h"
#include "platform/graphics/CGImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class RowResampler {
public:
    // `source` (in the grid's pixels, clipped to the grid) scaled to width x height in one
    // of the 32-bit formats. Nothing for an empty area or size.
    static std::optional<RowResampler> create(size_t gridWidth, size_t gridHeight,
                                              const CGRect& source, size_t width, size_t height,
                                              CGImagePixelFormat format);

    // The grid columns and rows the result is made of; the others need not be decoded.
    size_t firstColumn() const { return columns_.first.front(); }
    size_t columnEnd() const { return columnEnd_; }
    size_t firstRow() const { return rows_.first.front(); }
    size_t rowEnd() const { return rowEnd_; }

    // Says which columns the caller delivers in each row: `count` pixels from grid column
    // `first`, covering firstColumn() to columnEnd(). Once, before the first row.
    void deliverColumns(size_t first, size_t count);
    // Where the caller writes the next grid row's delivered columns (the first row given
    // is firstRow()): the result's own row when nothing is scaled, else a scratch row.
    uint8_t* nextRow();
    // The row written at nextRow() is complete.
    void addRow();
    // Instead of whole rows: `count` pixels of grid row `y`, at columns first, first + step
    // and so on; pixels outside the source are passed over. Every grid pixel of the
    // source must come once before the image is taken.
    void addPixels(size_t y, size_t first, size_t step, size_t count, const uint8_t* pixels);
    // The bytes held besides the result: the scratch rows, the sums and the weights.
    size_t workingBytes() const;
    // The result, once the rows up to rowEnd() (or every pixel) were given; the
    // resampler is spent.
    CGImageRef takeImage();

private:
    // Along one axis: the source pixels each result pixel covers and how much of each
    // (8-bit fractions summing to 256). Every run has the same length, the longest
    // rounded up to a multiple of `multiple` with zero weights.
    struct Taps {
        size_t length = 1;
        std::vector<size_t> first;
        std::vector<uint16_t> weights; // `length` per result pixel
        bool identity = false;         // each result pixel is one source pixel, in order
    };

    // Along one axis, the other way round: the result pixels each source pixel counts
    // in and its weight there, for source pixel p at entries start[p] to start[p + 1].
    struct Uses {
        std::vector<uint32_t> start;
        std::vector<uint32_t> target;
        std::vector<uint16_t> weight;
    };

    RowResampler() = default;
    static Taps tapsFor(double start, double size, size_t sourceSize, size_t resultSize,
                        size_t multiple);
    static Uses usesOf(const Taps& taps, size_t sourceEnd);
    bool writesResultDirectly() const;
    void shrinkAcross(const uint8_t* row, uint8_t* target) const;
    void emitRows();

    size_t width_ = 0;
    size_t height_ = 0;
    CGImagePixelFormat format_ = CGImagePixelFormat::ARGB32Premultiplied;
    Taps columns_;
    Taps rows_;
    size_t columnEnd_ = 0;
    size_t rowEnd_ = 0;
    size_t deliveredFirst_ = 0;
    size_t deliveredCount_ = 0;
    // The column weights widened for vectors: two per run of four source pixels.
    std::vector<uint16_t> columnVectors_;
    // The delivered row, with room for a run of four past its end.
    std::vector<uint8_t> scratch_;
    // The last rows_.length rows shrunk across, by source row modulo the length.
    std::vector<uint8_t> ring_;
    size_t ringStride_ = 0;
    // The ring rows of the run being made and their weights.
    std::vector<const uint8_t*> runRows_;
    std::vector<uint16_t> runWeights_;
    size_t rowsGiven_ = 0;
    size_t rowsDone_ = 0;
    // Not zeroed: every byte is written before the image is taken.
    std::unique_ptr<uint8_t[]> result_;
    // For scattered pixels: each result channel's weighted sum, in 16-bit fixed point.
    Uses columnUses_;
    Uses rowUses_;
    std::vector<uint32_t> sums_;
};
