#include "center/HubContext.h"

namespace ombrix {

void THubContext::ShowMessage(HWND owner, const std::string& text) const {
  platform.Dialogs().MessageBoxA(owner, text, ApplicationTitle, MB_OK);
}

}  // namespace ombrix
