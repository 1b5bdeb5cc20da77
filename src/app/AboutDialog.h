#pragma once

#include "toolkit/TemplateDialog.h"

// "About Loomwise": the program's name and version.
class AboutDialog : public TemplateDialog {
  Q_OBJECT
public:
  AboutDialog();
};
