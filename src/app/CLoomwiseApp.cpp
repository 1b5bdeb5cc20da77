#include "app/CLoomwiseApp.h"

#include <QCoreApplication>

#include "app/AboutDialog.h"
#include "app/AppResources.h"
#include "app/CChildFrame.h"
#include "app/CLoomwiseDoc.h"
#include "app/CMainFrame.h"
#include "app/Resource.h"
#include "toolkit/DocumentTemplate.h"
#include "view/CLoomwiseView.h"

CLoomwiseApp::CLoomwiseApp(QStringList commandLine) : Application(std::move(commandLine)) {
  QCoreApplication::setApplicationName(AppResources::string(AFX_IDS_APP_TITLE));
  onCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

bool CLoomwiseApp::InitInstance() {
  // The settings are kept under this organisation's name and the program's.
  QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
  loadStdProfileSettings(AppResources::kRecentFiles);
  addDocTemplate(std::make_unique<DocumentTemplate>(
      IDR_LOOMWITYPE, AppResources::string(IDR_LOOMWITYPE), [] { return std::make_unique<CLoomwiseDoc>(); },
      [] { return std::make_unique<CChildFrame>(); }, [] { return std::make_unique<CLoomwiseView>(); }));
  setMainWindow(std::make_unique<CMainFrame>());
  if (!processShellCommand()) return false;
  mainWindow()->show();
  return true;
}

void CLoomwiseApp::OnAppAbout() {
  AboutDialog about;
  about.doModal();
}
