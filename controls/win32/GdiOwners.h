#pragma once
// Owners of the GDI objects and windows the form host makes. Each is move-only: a copy
// would delete its object twice.

#include <string>
#include <utility>

#include "base/SmallMap.h"
#include "controls/Controls.h"
#include "platform/WinDefs.h"

namespace ombrix::win32 {

// A handle released when its owner goes (and when another one replaces it).
template <class Handle, class Release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle Get() const { return handle_; }

 private:
  void Reset() {
    if (handle_) Release()(handle_);
  }

  Handle handle_ = nullptr;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
// A window goes with its children and the windows it owns.
struct DestroyWindowHandle {
  void operator()(HWND window) const { ::DestroyWindow(window); }
};

using OwnedFont = Owned<HFONT, DeleteGdiObject>;
using OwnedBrush = Owned<HBRUSH, DeleteGdiObject>;
using OwnedPen = Owned<HPEN, DeleteGdiObject>;
using OwnedWindow = Owned<HWND, DestroyWindowHandle>;

// Selects a GDI object into a device context for a scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~SelectedObject() { ::SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A system colour or an RGB value as GDI takes it.
COLORREF Resolve(TColor color);

// The fonts and brushes of one form, made once each and kept until the form goes; the
// controls borrow them.
class GdiCache {
 public:
  // The message font of the system with the font's name, size and styles, for `dpi`.
  void SetBase(const LOGFONTA& base, int dpi) {
    base_ = base;
    dpi_ = dpi;
  }
  HFONT FontFor(const TFont& font);
  // A font of its own at a pixel height (0: the base font's), for drawing scaled pictures.
  OwnedFont MakeFont(const TFont& font, int pixelHeight) const;
  HBRUSH BrushFor(TColor color);

 private:
  LOGFONTA base_{};
  int dpi_ = 96;
  TSmallMap<std::string, OwnedFont> fonts_;
  TSmallMap<COLORREF, OwnedBrush> brushes_;
};

}  // namespace ombrix::win32
