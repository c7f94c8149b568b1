#include "controls/Graphics.h"

namespace ombrix {

TDrawing& TDrawing::Rectangle(int left, int top, int right, int bottom, TColor fill, TColor pen) {
  TShape shape;
  shape.ShapeKind = TShape::Kind::kRectangle;
  shape.Points = {{left, top}, {right, bottom}};
  shape.Fill = fill;
  shape.Pen = pen;
  Shapes.push_back(std::move(shape));
  return *this;
}

TDrawing& TDrawing::Ellipse(int left, int top, int right, int bottom, TColor fill, TColor pen, int penWidth) {
  TShape shape;
  shape.ShapeKind = TShape::Kind::kEllipse;
  shape.Points = {{left, top}, {right, bottom}};
  shape.Fill = fill;
  shape.Pen = pen;
  shape.PenWidth = penWidth;
  Shapes.push_back(std::move(shape));
  return *this;
}

TDrawing& TDrawing::Polygon(std::vector<TPoint> points, TColor fill, TColor pen) {
  TShape shape;
  shape.ShapeKind = TShape::Kind::kPolygon;
  shape.Points = std::move(points);
  shape.Fill = fill;
  shape.Pen = pen;
  Shapes.push_back(std::move(shape));
  return *this;
}

TDrawing& TDrawing::Text(int left, int top, int right, int bottom, std::string text, TFont font, TAlignment alignment) {
  TShape shape;
  shape.ShapeKind = TShape::Kind::kText;
  shape.Points = {{left, top}, {right, bottom}};
  shape.Text = std::move(text);
  shape.Font = std::move(font);
  shape.Alignment = alignment;
  Shapes.push_back(std::move(shape));
  return *this;
}

void TPicture::Clear() {
  icon_.Reset();
  drawing_.reset();
  ++version_;
}

void TPicture::SetIcon(OwnedIcon icon) {
  drawing_.reset();
  icon_ = std::move(icon);
  ++version_;
}

void TPicture::SetDrawing(TDrawing drawing) {
  icon_.Reset();
  drawing_ = std::move(drawing);
  ++version_;
}

}  // namespace ombrix
