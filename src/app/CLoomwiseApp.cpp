#include "app/CLoomwiseApp.h"

#include <QCoreApplication>

#include "app/AboutDialog.h"
#include "app/AppResources.h"
#include "app/CChildFrame.h"
#include "app/CLoomwiseDoc.h"
#include "app/CMainFrame.h"
#include "app/Resource.h"
#include "toolkit/DocumentManager.h"
#include "view/CLoomwiseView.h"

CLoomwiseApp::CLoomwiseApp(QStringList commandLine) : Application(std::move(commandLine)) {
  QCoreApplication::setApplicationName(AppResources::string(kAppTitleString));
  onCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

bool CLoomwiseApp::InitInstance() {
  // The settings are kept under this organisation's name and the program's.
  QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
  loadStdProfileSettings(AppResources::kRecentFiles);
  setMainWindow(std::make_unique<CMainFrame>());
  setDocumentManager(std::make_unique<DocumentManager>(
      *mainWindow(), AppResources::kNewDocumentName, [this] { return std::make_unique<CLoomwiseDoc>(this); },
      [] { return new CChildFrame; }, [] { return new CLoomwiseView; }));
  if (!processShellCommand()) return false;
  mainWindow()->show();
  return true;
}

void CLoomwiseApp::OnAppAbout() {
  AboutDialog about;
  about.doModal();
}
