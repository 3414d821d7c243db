#pragma once
// Owners of the cairo and pango objects the player draws with. None can be copied.

#include <cairo-xlib.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>

#include "platform/linux/X11Handles.h"

struct CairoDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using UniqueCairo = std::unique_ptr<cairo_t, CairoDeleter>;
using UniqueCairoSurface = std::unique_ptr<cairo_surface_t, CairoDeleter>;

struct PangoDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
using UniquePangoLayout = std::unique_ptr<PangoLayout, PangoDeleter>;
using UniqueFontDescription = std::unique_ptr<PangoFontDescription, PangoDeleter>;
