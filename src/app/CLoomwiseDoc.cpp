#include "app/CLoomwiseDoc.h"

#include "app/ClothControlsDialog.h"
#include "app/ClothInitDialog.h"
#include "app/Resource.h"
#include "cloth/ClothShape.h"
#include "toolkit/Application.h"
#include "toolkit/MdiFrame.h"

CLoomwiseDoc::CLoomwiseDoc() : session(cloth) {
  ClothShape().layOut(cloth);
  controlsPanel = std::make_unique<ClothControlsDialog>(&cloth.parameters);
  controlsPanel->create();
  onCommand(ID_VIEW_CLOTH_CONTROLS, [this] { OnViewClothControls(); });
  onUpdate(ID_VIEW_CLOTH_CONTROLS, [this](CommandUi& ui) { OnUpdateViewClothControls(ui); });
}

CLoomwiseDoc::~CLoomwiseDoc() = default;

bool CLoomwiseDoc::OnNewDocument() {
  if (!ClothDocument::OnNewDocument()) return false;
  ClothInitDialog dialog;
  ClothShape shape;  // the defaults, used when the dialog is cancelled
  if (dialog.doModal() == IDOK) shape = {dialog.nodeSpacing, dialog.clothWidth, dialog.clothHeight};
  shape.layOut(cloth);
  return true;
}

void CLoomwiseDoc::OnViewClothControls() {
  controlsVisible = !controlsVisible;
  controlsPanel->setVisible(controlsVisible);
}

void CLoomwiseDoc::OnUpdateViewClothControls(CommandUi& ui) { ui.SetCheck(controlsVisible); }

void CLoomwiseDoc::advanceFrame() {
  const RecordingSession::Tick tick = session.advanceFrame();
  if (tick.frame == 0) return;
  Application* app = Application::instance();
  if (app != nullptr && app->mainWindow() != nullptr)
    app->mainWindow()->setWindowTitle(QString::asprintf("Recording frame: %d", tick.frame));
}
