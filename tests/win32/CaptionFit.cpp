#include "tests/win32/CaptionFit.h"

#include <algorithm>
#include <vector>

#include "platform/WinDefs.h"
// After the Windows headers.
#include <commctrl.h>

#include "tests/win32/FormDriver.h"

namespace ombrix::testing {

namespace {

// The room a control leaves its text, in its own client coordinates.
struct Room {
  int Width = 0;
  int Height = 0;
};

class Measurer {
 public:
  explicit Measurer(std::vector<CaptionMisfit>& misfits) : misfits_(misfits) {}

  // Measures a caption drawn in the window's own font, as DrawTextA lays it out: "&x" is x
  // underlined unless noPrefix; wrapped at the room's width when wrap is on.
  void Check(const std::string& name, HWND window, const std::string& caption, Room room, bool wrap, bool noPrefix,
             bool checkHeight = true) {
    if (caption.empty()) return;
    HDC dc = ::GetDC(window);
    HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT text{0, 0, wrap ? std::max(room.Width, 1) : 0, 0};
    const UINT format =
        DT_CALCRECT | DT_EXPANDTABS | (wrap ? DT_WORDBREAK : DT_SINGLELINE) | (noPrefix ? DT_NOPREFIX : 0);
    ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
    ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    // A word longer than a wrapped line sticks out sideways, as a line too long does.
    if (text.right - text.left > room.Width) Add(name, caption, "wide", text.right - text.left, room.Width);
    if (checkHeight && text.bottom - text.top > room.Height) {
      Add(name, caption, "high", text.bottom - text.top, room.Height);
    }
  }

  void Add(const std::string& name, const std::string& caption, const char* direction, int needed, int available) {
    misfits_.push_back(CaptionMisfit{name, caption, direction, needed, available});
  }

 private:
  std::vector<CaptionMisfit>& misfits_;
};

Room ClientRoom(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return Room{client.right - client.left, client.bottom - client.top};
}

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// A check box or radio button: the glyph (the menu check mark's size, which follows the
// resolution) and the gap after it of half a digit's width, then the text, which the focus
// rectangle surrounds by a pixel on each side. That is the width the button itself asks for
// as its ideal size.
void CheckBoxCaption(Measurer& measurer, const std::string& name, HWND button) {
  HDC dc = ::GetDC(button);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(button, WM_GETFONT, 0, 0)));
  INT digit = 0;
  ::GetCharWidth32A(dc, '0', '0', &digit);
  ::SelectObject(dc, previous);
  ::ReleaseDC(button, dc);
  Room room = ClientRoom(button);
  room.Width -= ::GetSystemMetrics(SM_CXMENUCHECK) + digit / 2 + 2;
  measurer.Check(name, button, TextOf(button), room, false, false);
}

// The frame of a group box or radio group: the group's window holds it as a BUTTON child.
HWND FrameOf(HWND group) {
  for (HWND child = ::GetWindow(group, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    std::vector<char> className(16, '\0');
    ::GetClassNameA(child, className.data(), static_cast<int>(className.size()));
    if (::lstrcmpiA(className.data(), "Button") == 0 &&
        (::GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
      return child;
    }
  }
  return nullptr;
}

// The caption sits in the top line of the frame, indented from both corners.
void GroupCaption(Measurer& measurer, const std::string& name, HWND group, int dpi) {
  HWND frame = FrameOf(group);
  if (!frame) {
    measurer.Add(name, "(no frame)", "wide", 1, 0);
    return;
  }
  Room room = ClientRoom(frame);
  room.Width -= 2 * ::MulDiv(7, dpi, 96);
  measurer.Check(name, frame, TextOf(frame), room, false, false, false);
}

// Every tab must show its whole caption and lie within the tab row: a tab beyond the
// control's width is reached only through the scroll arrows.
void TabCaptions(Measurer& measurer, const TPageControl& pages, HWND tabs) {
  const Room row = ClientRoom(tabs);
  const int count = static_cast<int>(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  std::vector<TTabSheet*> shown;
  for (TTabSheet* page : pages.Pages()) {
    if (page->Visible()) shown.push_back(page);
  }
  for (int tab = 0; tab < count; ++tab) {
    std::vector<char> text(256, '\0');
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    ::SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
    const std::string caption = text.data();
    const std::string name = tab < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(tab)]->Name()
                                                                  : pages.Name() + "[" + std::to_string(tab) + "]";
    RECT area{};
    ::SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&area));
    if (area.right > row.Width) {
      measurer.Add(name, caption, "wide", area.right, row.Width);
      continue;
    }
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    measurer.Check(name, tabs, caption, Room{area.right - area.left - 2 * edge, area.bottom - area.top}, false, false);
  }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const CaptionMisfit& misfit) {
  return out << misfit.Control << " \"" << misfit.Caption << "\": " << misfit.Needed << " px " << misfit.Direction
             << ", room for " << misfit.Available;
}

std::vector<CaptionMisfit> CaptionMisfits(win32::Win32FormHost& host, const TForm& form) {
  std::vector<CaptionMisfit> misfits;
  Measurer measurer(misfits);
  const int dpi = ScreenDpi();
  for (const TControl* control : form.Controls()) {
    HWND window = host.WindowOf(*control);
    if (!window) continue;
    const std::string& name = control->Name();
    switch (control->Kind()) {
      case TControlKind::kLabel: {
        const auto& label = static_cast<const TLabel&>(*control);
        measurer.Check(name, window, TextOf(window), ClientRoom(window), label.WordWrap, !label.ShowAccelChar);
        break;
      }
      case TControlKind::kLabel3D: {
        // Drawn by the host, raised above its shadow, which takes two pixels (at 96 dpi)
        // off the right and the bottom.
        const auto& label = static_cast<const TLabel&>(*control);
        Room room = ClientRoom(window);
        const int depth = std::max(1, ::MulDiv(2, dpi, 96));
        room.Width -= depth;
        room.Height -= depth;
        measurer.Check(name, window, label.Caption(), room, label.WordWrap, !label.ShowAccelChar);
        break;
      }
      case TControlKind::kCheckBox:
      case TControlKind::kRadioButton:
        CheckBoxCaption(measurer, name, window);
        break;
      case TControlKind::kRadioGroup: {
        const auto& group = static_cast<const TRadioGroup&>(*control);
        GroupCaption(measurer, name, window, dpi);
        for (int i = 0; i < static_cast<int>(group.Items().size()); ++i) {
          if (HWND item = host.ItemWindowOf(group, i)) {
            CheckBoxCaption(measurer, name + "[" + std::to_string(i) + "]", item);
          }
        }
        break;
      }
      case TControlKind::kGroupBox:
        GroupCaption(measurer, name, window, dpi);
        break;
      case TControlKind::kButton: {
        // The raised edge and, inside it, the focus rectangle on each side.
        Room room = ClientRoom(window);
        room.Width -= 2 * (::GetSystemMetrics(SM_CXEDGE) + 1);
        room.Height -= 2 * (::GetSystemMetrics(SM_CYEDGE) + 1);
        measurer.Check(name, window, TextOf(window), room, false, false);
        break;
      }
      case TControlKind::kPageControl:
        TabCaptions(measurer, static_cast<const TPageControl&>(*control), window);
        break;
      default:
        break;
    }
  }
  return misfits;
}

}  // namespace ombrix::testing
