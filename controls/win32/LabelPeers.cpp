// Labels: the system's static text, and the owner-drawn ones (raised text, images, the
// caption strip) painted by the form toolkit itself.

#include "controls/win32/ControlPeer.h"
#include "controls/win32/Painting.h"

namespace ombrix::win32 {

namespace {

// Clicks and double clicks of a label or an image (SS_NOTIFY).
void LabelCommand(PeerContext& context, TControl& control, UINT code) {
  if (code == STN_CLICKED) context.Act(&control, [&] { context.Engine().Click(control); });
  if (code == STN_DBLCLK) context.Act(&control, [&] { context.Engine().DoubleClicked(control); });
}

class LabelPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Command(UINT code, int) override { LabelCommand(context_, control_, code); }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    const auto& label = static_cast<const TLabel&>(control_);
    DWORD align = SS_LEFT;
    if (label.Alignment == TAlignment::kRightJustify) align = SS_RIGHT;
    if (label.Alignment == TAlignment::kCenter) align = SS_CENTER;
    if (!label.WordWrap && label.Alignment == TAlignment::kLeftJustify) align = SS_LEFTNOWORDWRAP;
    return context_.MakeWindow(0, "STATIC", label.Caption(),
                               style | align | SS_NOTIFY | (label.ShowAccelChar ? 0 : SS_NOPREFIX), label.Bounds(),
                               parent, id);
  }
  void PushState() override { PushCaption(); }
};

class CosmeticPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;

  void Command(UINT code, int) override {
    if (control_.Kind() != TControlKind::kCaptionStrip) LabelCommand(context_, control_, code);
  }

  void Draw(HDC dc, RECT area) override {
    Painter painter(context_);
    switch (control_.Kind()) {
      case TControlKind::kLabel3D:
        painter.Label3D(static_cast<const TLabel3D&>(control_), dc, area);
        break;
      case TControlKind::kImage:
        painter.Image(static_cast<const TImage&>(control_), dc, area);
        break;
      case TControlKind::kCaptionStrip:
        painter.CaptionStrip(static_cast<const TCaptionStrip&>(control_), dc, area);
        break;
      default:
        break;
    }
  }

 protected:
  HWND MakeWindows(HWND parent, int id, DWORD style) override {
    return context_.MakeWindow(0, "STATIC", control_.Caption(), style | SS_OWNERDRAW | SS_NOTIFY, control_.Bounds(),
                               parent, id);
  }
  void PushState() override {
    // A new picture is a new look too.
    PushCaption(control_.Kind() == TControlKind::kImage
                    ? "/" + std::to_string(static_cast<const TImage&>(control_).Picture.Version())
                    : "");
  }
};

}  // namespace

std::unique_ptr<ControlPeer> MakeLabelPeer(PeerContext& context, TControl& control) {
  return std::make_unique<LabelPeer>(context, control);
}

std::unique_ptr<ControlPeer> MakeCosmeticPeer(PeerContext& context, TControl& control) {
  return std::make_unique<CosmeticPeer>(context, control);
}

}  // namespace ombrix::win32
