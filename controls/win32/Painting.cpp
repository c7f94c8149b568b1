#include "controls/win32/Painting.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "controls/win32/Look.h"

namespace ombrix::win32 {

namespace {

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
  auto channel = [&](int shift) {
    const int a = (from >> shift) & 0xFF;
    const int b = (to >> shift) & 0xFF;
    return static_cast<COLORREF>(a + (b - a) * step / std::max(steps, 1)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

UINT TextAlignment(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::kRightJustify:
      return DT_RIGHT;
    case TAlignment::kCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

}  // namespace

void Painter::Background(const TControl& control, HDC dc, const RECT& area) {
  const TColor background =
      control.Color != clDefault ? control.Color : BackgroundOf(context_.Form(), control.Parent());
  ::FillRect(dc, &area, context_.Gdi().BrushFor(background));
}

void Painter::Label3D(const TLabel3D& label, HDC dc, RECT area) {
  Background(label, dc, area);
  SelectedObject font(dc, context_.Gdi().FontFor(FontOf(context_.Form(), label)));
  ::SetBkMode(dc, TRANSPARENT);
  UINT format = TextAlignment(label.Alignment) | (label.WordWrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER) |
                (label.ShowAccelChar ? 0 : DT_NOPREFIX);
  const int depth = std::max(1, context_.Scale(2));
  RECT shadow = area;
  ::OffsetRect(&shadow, depth, depth);
  ::SetTextColor(dc, Resolve(label.ShadowColor));
  ::DrawTextA(dc, label.Caption().c_str(), -1, &shadow, format);
  RECT text = area;
  text.right -= depth;
  text.bottom -= depth;
  ::SetTextColor(dc, Resolve(TextColorOf(context_.Form(), label)));
  ::DrawTextA(dc, label.Caption().c_str(), -1, &text, format);
}

void Painter::Image(const TImage& image, HDC dc, RECT area) {
  Background(image, dc, area);
  if (HICON icon = image.Picture.Icon()) {
    const int size = context_.Scale(32);
    const int left = area.left + (area.right - area.left - size) / 2;
    const int top = area.top + (area.bottom - area.top - size) / 2;
    ::DrawIconEx(dc, left, top, icon, size, size, 0, nullptr, DI_NORMAL);
  } else if (const TDrawing* drawing = image.Picture.Drawing()) {
    Picture(*drawing, dc, area);
  }
}

void Painter::Picture(const TDrawing& drawing, HDC dc, RECT area) {
  if (drawing.Width <= 0 || drawing.Height <= 0) return;
  const double scale = std::min(static_cast<double>(area.right - area.left) / drawing.Width,
                                static_cast<double>(area.bottom - area.top) / drawing.Height);
  const int originX = area.left + static_cast<int>((area.right - area.left - drawing.Width * scale) / 2);
  const int originY = area.top + static_cast<int>((area.bottom - area.top - drawing.Height * scale) / 2);
  auto at = [&](const TPoint& point) {
    return POINT{originX + static_cast<LONG>(std::lround(point.X * scale)),
                 originY + static_cast<LONG>(std::lround(point.Y * scale))};
  };
  for (const TShape& shape : drawing.Shapes) {
    if (shape.Points.size() < 2) continue;
    const POINT topLeft = at(shape.Points[0]);
    const POINT bottomRight = at(shape.Points[1]);
    if (shape.ShapeKind == TShape::Kind::kText) {
      RECT box{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
      const int height = -static_cast<int>(std::lround(shape.Font.Size * 96.0 / 72.0 * scale));
      const OwnedFont made = context_.Gdi().MakeFont(shape.Font, height);
      SelectedObject font(dc, made.Get());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, Resolve(shape.Font.Color == clDefault ? clBtnText : shape.Font.Color));
      ::DrawTextA(dc, shape.Text.c_str(), -1, &box,
                  TextAlignment(shape.Alignment) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      continue;
    }
    const OwnedPen ownPen(
        shape.Pen != clNone ? ::CreatePen(PS_SOLID, std::max(1, static_cast<int>(std::lround(shape.PenWidth * scale))),
                                          Resolve(shape.Pen))
                            : nullptr);
    const OwnedBrush ownBrush(shape.Fill != clNone ? ::CreateSolidBrush(Resolve(shape.Fill)) : nullptr);
    SelectedObject pen(dc, ownPen.Get() ? static_cast<HGDIOBJ>(ownPen.Get()) : ::GetStockObject(NULL_PEN));
    SelectedObject brush(dc, ownBrush.Get() ? static_cast<HGDIOBJ>(ownBrush.Get()) : ::GetStockObject(NULL_BRUSH));
    if (shape.ShapeKind == TShape::Kind::kPolygon) {
      std::vector<POINT> points;
      for (const TPoint& point : shape.Points) points.push_back(at(point));
      ::Polygon(dc, points.data(), static_cast<int>(points.size()));
    } else if (shape.ShapeKind == TShape::Kind::kEllipse) {
      ::Ellipse(dc, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    } else {
      ::Rectangle(dc, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
  }
}

void Painter::CaptionStrip(const TCaptionStrip& strip, HDC dc, RECT area) {
  const COLORREF start = Resolve(strip.StartColor);
  const COLORREF end = Resolve(strip.EndColor);
  const int width = area.right - area.left;
  const int band = std::max(1, context_.Scale(2));
  for (int x = 0; x < width; x += band) {
    RECT slice{area.left + x, area.top, std::min<LONG>(area.left + x + band, area.right), area.bottom};
    const OwnedBrush brush(::CreateSolidBrush(Blend(start, end, x, width)));
    ::FillRect(dc, &slice, brush.Get());
  }
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, Resolve(strip.Font.Color != clDefault ? strip.Font.Color : clWhite));
  RECT text = area;
  text.left += context_.Scale(6);
  TFont bold = FontOf(context_.Form(), strip);
  bold.Bold = true;
  {
    SelectedObject font(dc, context_.Gdi().FontFor(bold));
    ::DrawTextA(dc, strip.CompanyText.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, strip.CompanyText.c_str(), static_cast<int>(strip.CompanyText.size()), &extent);
    text.left += extent.cx + context_.Scale(6);
  }
  SelectedObject font(dc, context_.Gdi().FontFor(FontOf(context_.Form(), strip)));
  const std::string rest = strip.AppNameText + strip.Caption();
  ::DrawTextA(dc, rest.c_str(), -1, &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace ombrix::win32
