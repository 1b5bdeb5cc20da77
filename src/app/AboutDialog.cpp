#include "app/AboutDialog.h"

#include "LoomwiseVersion.h"
#include "app/Resource.h"

namespace {

// Template 100, in dialog units. The first line names the program's version as it has always read;
// the second tells which build is running; the last two, who holds the copyright and the licence.
DialogTemplate aboutTemplate() {
  return {"About Loomwise", 235, 70, true,
          {{kNoControlId, DialogItemKind::Icon, ":/icons/loomwise.xpm", 11, 17, 20, 20},
           {kNoControlId, DialogItemKind::StaticLeft, "Loomwise Version 1.0", 40, 10, 119, 8},
           {kNoControlId, DialogItemKind::StaticLeft, "Build version " LOOMWISE_VERSION, 40, 25, 119, 8},
           {kNoControlId, DialogItemKind::StaticLeft, "Copyright (c) 2026 the Loomwise maintainers", 40, 42, 188, 8},
           {kNoControlId, DialogItemKind::StaticLeft, "Free software under the MIT licence", 40, 53, 188, 8},
           {IDOK, DialogItemKind::DefPushButton, "OK", 178, 7, 50, 14}}};
}

}  // namespace

AboutDialog::AboutDialog() : TemplateDialog(aboutTemplate()) {}
