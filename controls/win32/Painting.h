#pragma once
// Painting of the cosmetic controls that Windows has no control for: raised text, images
// (icons and scalable drawings) and the caption strip's colour gradient.

#include "controls/win32/ControlPeer.h"

namespace ombrix::win32 {

class Painter {
 public:
  explicit Painter(PeerContext& context) : context_(context) {}

  void Label3D(const TLabel3D& label, HDC dc, RECT area);
  void Image(const TImage& image, HDC dc, RECT area);
  void CaptionStrip(const TCaptionStrip& strip, HDC dc, RECT area);

 private:
  void Picture(const TDrawing& drawing, HDC dc, RECT area);
  // Fills the area with the control's own colour, else its container's.
  void Background(const TControl& control, HDC dc, const RECT& area);

  PeerContext& context_;
};

}  // namespace ombrix::win32
