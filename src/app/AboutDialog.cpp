#include "app/AboutDialog.h"

#include "app/Resource.h"

namespace {

// Template 100, in dialog units.
DialogTemplate aboutTemplate() {
  return {"About Loomwise", 235, 55, true,
          {{IDC_STATIC, DialogItemKind::Icon, ":/icons/loomwise.xpm", 11, 17, 20, 20},
           {IDC_STATIC, DialogItemKind::StaticLeft, "Loomwise Version 1.0", 40, 10, 119, 8},
           {IDC_STATIC, DialogItemKind::StaticLeft, "Cloth simulation with MEL export", 40, 25, 119, 8},
           {IDOK, DialogItemKind::DefPushButton, "OK", 178, 7, 50, 14}}};
}

}  // namespace

AboutDialog::AboutDialog() : TemplateDialog(aboutTemplate()) {}
