#pragma once
// A stand-in for the control center's window that holds the stored-settings page on a page
// of the same size, with the window's registry component and the page's shared context.

#include <string>

#include "center/StoredSettingsPage.h"
#include "controls/Form.h"

namespace ombrix::centertest {

constexpr char HubTitle[] = "Vorel Ombrix - Control Center";

class THubTestForm : public TForm {
 public:
  THubTestForm(Platform& platform, std::string hubFolder)
      : TForm("THubTestForm", HubTitle, 576, 468),
        RegistryOp(platform),
        context{platform, RegistryOp, std::move(hubFolder), HubTitle},
        page(*this, tsStoredSettings, context) {
    ShowHint = true;
    // Between operations the window's component looks at the file types.
    RegistryOp.RootKey = TRootKey::hkClassesRoot;
    RegistryOp.Key = "";
  }

  TPageControl pcMain{*this, "pcMain", nullptr, {8, 28, 560, 432}};
  TTabSheet tsStoredSettings{*this, "tsStoredSettings", pcMain, " Stored settings "};
  TRegistryEnhanced RegistryOp;
  THubContext context;
  TStoredSettingsPage page;
};

}  // namespace ombrix::centertest
