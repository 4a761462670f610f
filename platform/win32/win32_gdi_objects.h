// Owners of GDI objects and device contexts: each gives its object back to the system once, however
// the scope that holds it is left.
#pragma once

#include <windows.h>

#include "win32_scoped_handle.h"

namespace autorun {

// How each kind is given back.
struct GdiObjectDeletion {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DcDeletion {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DcRelease {
    HWND window;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};
struct Reselection {
    HDC dc;
    void operator()(HGDIOBJ previous) const { SelectObject(dc, previous); }
};

// A pen, brush, font, bitmap or other object freed with DeleteObject.  Must outlive any Selection of
// it: an object still selected into a DC is not deleted.
template <typename Object>
using GdiObject = ScopedHandle<Object, GdiObjectDeletion>;

// A memory DC compatible with `like` (with the screen for a null `like`).
class MemoryDc : public ScopedHandle<HDC, DcDeletion> {
   public:
    explicit MemoryDc(HDC like) : ScopedHandle(CreateCompatibleDC(like)) {}
};

// A DC obtained with GetDC: a window's client area, or the whole screen for a null window.
class WindowDc : public ScopedHandle<HDC, DcRelease> {
   public:
    explicit WindowDc(HWND window) : ScopedHandle(GetDC(window), DcRelease{window}) {}
};

// Selects an object into a DC and puts the previous one back.
class Selection : public ScopedHandle<HGDIOBJ, Reselection> {
   public:
    Selection(HDC dc, HGDIOBJ object) : ScopedHandle(SelectObject(dc, object), Reselection{dc}) {}
    bool valid() const { return get() != nullptr; }
};

// BeginPaint and EndPaint around the handling of one WM_PAINT.
class PaintScope {
   public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return paint_.hdc; }

   private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// SaveDC and RestoreDC around changes to a DC's clipping, palette and modes: whatever the caller set
// before is back once the scope is left.
class SavedDcState {
   public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

   private:
    HDC dc_;
    int saved_;
};

}  // namespace autorun
