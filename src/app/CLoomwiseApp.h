#pragma once

#include <optional>

#include "app/SavedPresets.h"
#include "toolkit/Application.h"

// Loomwise: one document type (a cloth in an OpenGL view), the main frame, and the About box.
class CLoomwiseApp : public Application {
public:
  explicit CLoomwiseApp(QStringList commandLine);

  // The first document (and its Cloth Initialization dialog) comes before the main window shows.
  bool InitInstance() override;
  void OnAppAbout();

private:
  std::optional<SavedPresets> savedPresets;  // read once the settings have their name
};
