#pragma once

#include <cairo.h>
#include <glib-object.h>

#include <memory>

namespace sim::render {

// Owners of cairo and GObject resources, released when they go out of scope.
struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfaceHandle = std::unique_ptr<cairo_surface_t, SurfaceRelease>;

struct ContextRelease {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using ContextHandle = std::unique_ptr<cairo_t, ContextRelease>;

struct PathRelease {
    void operator()(cairo_path_t* path) const { cairo_path_destroy(path); }
};
using PathHandle = std::unique_ptr<cairo_path_t, PathRelease>;

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <class T> using GObjectHandle = std::unique_ptr<T, GObjectRelease>;

// cairo_save for one scope: clips and transforms set inside are undone at its end.
class SavedState {
public:
    explicit SavedState(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
    ~SavedState() { cairo_restore(cr_); }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    cairo_t* cr_;
};

} // namespace sim::render
