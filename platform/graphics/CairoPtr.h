// Owning pointers to cairo's objects, each released with cairo's own destroy function.
#pragma once

#include <cairo.h>

#include <memory>

template <typename T, void (*Destroy)(T*)> struct CairoDestroy {
    void operator()(T* object) const { Destroy(object); }
};

template <typename T, void (*Destroy)(T*)>
using CairoPtr = std::unique_ptr<T, CairoDestroy<T, Destroy>>;

using CairoSurfacePtr = CairoPtr<cairo_surface_t, cairo_surface_destroy>;
using CairoContextPtr = CairoPtr<cairo_t, cairo_destroy>;
using CairoPatternPtr = CairoPtr<cairo_pattern_t, cairo_pattern_destroy>;
