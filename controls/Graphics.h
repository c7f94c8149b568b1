#pragma once
// Colours, fonts and pictures as the forms describe them. Both hosts read these: the Win32
// host turns them into GDI objects, the simulated host shows them to tests as they are.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Icons.h"

namespace ombrix {

// 0x00BBGGRR like COLORREF, plus two kinds of special values: the system colours
// (0xFF000000 | COLOR_... index) and the "not set" markers.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;     // nothing is painted
constexpr TColor clDefault = 0x20000000;  // whatever the control's parent or the system uses
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;

constexpr TColor RgbColor(int red, int green, int blue) {
  return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// Size in points; 0 keeps the system's message font size. An empty name keeps its face.
struct TFont {
  std::string Name;
  int Size = 0;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  TColor Color = clDefault;

  bool operator==(const TFont& other) const {
    return Name == other.Name && Size == other.Size && Bold == other.Bold && Italic == other.Italic &&
           Underline == other.Underline && Color == other.Color;
  }
  bool operator!=(const TFont& other) const { return !(*this == other); }
};

enum class TAlignment { kLeftJustify, kRightJustify, kCenter };

struct TPoint {
  int X = 0;
  int Y = 0;
};

// A picture made of a few shapes in its own coordinate space (Width x Height), scaled to
// the image that shows it. The forms' logos are drawn this way, so that they need no
// resource and look the same in both programs.
struct TShape {
  enum class Kind { kRectangle, kEllipse, kPolygon, kText };
  Kind ShapeKind = Kind::kRectangle;
  std::vector<TPoint> Points;  // rectangle and ellipse: top-left and bottom-right; text: its box
  TColor Fill = clNone;
  TColor Pen = clNone;
  int PenWidth = 1;
  std::string Text;
  TFont Font;  // Size in points at the drawing's own scale
  TAlignment Alignment = TAlignment::kCenter;
};

struct TDrawing {
  int Width = 0;
  int Height = 0;
  std::vector<TShape> Shapes;

  TDrawing& Rectangle(int left, int top, int right, int bottom, TColor fill, TColor pen = clNone);
  TDrawing& Ellipse(int left, int top, int right, int bottom, TColor fill, TColor pen = clNone, int penWidth = 1);
  TDrawing& Polygon(std::vector<TPoint> points, TColor fill, TColor pen = clNone);
  TDrawing& Text(int left, int top, int right, int bottom, std::string text, TFont font,
                 TAlignment alignment = TAlignment::kCenter);
};

// What an image shows: nothing, an icon it owns, or a drawing. Every change bumps the
// version, so that a host knows when to repaint.
class TPicture {
 public:
  void Clear();
  // The picture owns the icon from now on; the previous icon is destroyed.
  void SetIcon(OwnedIcon icon);
  void SetDrawing(TDrawing drawing);

  bool Empty() const { return !icon_ && !drawing_; }
  HICON Icon() const { return icon_.Get(); }
  const TDrawing* Drawing() const { return drawing_ ? &*drawing_ : nullptr; }
  unsigned Version() const { return version_; }

 private:
  OwnedIcon icon_;
  std::optional<TDrawing> drawing_;
  unsigned version_ = 0;
};

}  // namespace ombrix
