#include "controls/win32/GdiOwners.h"

namespace ombrix::win32 {

COLORREF Resolve(TColor color) {
  if ((color & 0xFF000000) == clSystemColor) return ::GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

OwnedFont GdiCache::MakeFont(const TFont& font, int pixelHeight) const {
  LOGFONTA logFont = base_;
  if (!font.Name.empty()) ::lstrcpynA(logFont.lfFaceName, font.Name.c_str(), LF_FACESIZE);
  if (pixelHeight != 0) logFont.lfHeight = pixelHeight;
  if (font.Bold) logFont.lfWeight = FW_BOLD;
  logFont.lfItalic = font.Italic ? TRUE : FALSE;
  logFont.lfUnderline = font.Underline ? TRUE : FALSE;
  return OwnedFont(::CreateFontIndirectA(&logFont));
}

HFONT GdiCache::FontFor(const TFont& font) {
  const std::string key = font.Name + "/" + std::to_string(font.Size) + (font.Bold ? "b" : "") +
                          (font.Italic ? "i" : "") + (font.Underline ? "u" : "");
  if (const OwnedFont* found = fonts_.Find(key)) return found->Get();
  return fonts_.Set(key, MakeFont(font, font.Size > 0 ? -::MulDiv(font.Size, dpi_, 72) : 0)).Get();
}

HBRUSH GdiCache::BrushFor(TColor color) {
  const COLORREF value = Resolve(color);
  if (const OwnedBrush* found = brushes_.Find(value)) return found->Get();
  return brushes_.Set(value, OwnedBrush(::CreateSolidBrush(value))).Get();
}

}  // namespace ombrix::win32
