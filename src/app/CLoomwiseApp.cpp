#include "app/CLoomwiseApp.h"

#include <QCoreApplication>
#include <QSettings>

#include "app/AboutDialog.h"
#include "app/AppResources.h"
#include "app/CChildFrame.h"
#include "app/CLoomwiseDoc.h"
#include "app/CMainFrame.h"
#include "app/Resource.h"
#include "toolkit/DocumentManager.h"
#include "view/CLoomwiseView.h"

namespace {

// The name the settings were kept under before the program had its own.
const QString kOldOrganisation = QStringLiteral("Local AppWizard-Generated Applications");

// Settings found under the old name come over once, unless the program's own already exist.
void moveOldSettings() {
  QSettings old(kOldOrganisation, QCoreApplication::applicationName());
  QSettings own;
  if (old.allKeys().isEmpty() || !own.allKeys().isEmpty()) return;
  for (const QString& key : old.allKeys()) own.setValue(key, old.value(key));
  old.clear();
}

}  // namespace

CLoomwiseApp::CLoomwiseApp(QStringList commandLine) : Application(std::move(commandLine)) {
  QCoreApplication::setApplicationName(AppResources::string(kAppTitleString));
  onCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

bool CLoomwiseApp::InitInstance() {
  // The settings are kept under the program's own name, as organisation and as application.
  QCoreApplication::setOrganizationName(QStringLiteral("Loomwise"));
  moveOldSettings();
  savedPresets.emplace();
  loadStdProfileSettings(AppResources::kRecentFiles);
  auto frame = std::make_unique<CMainFrame>();
  const bool* realTime = &frame->realTime;
  setMainWindow(std::move(frame));
  // Every cloth's run timer follows the main window's Real Time setting.
  const auto newDocument = [this, realTime] {
    auto document = std::make_unique<CLoomwiseDoc>(this);
    document->runTimer.followRealTime(realTime);
    document->savedPresets = &*savedPresets;
    return document;
  };
  setDocumentManager(std::make_unique<DocumentManager>(
      *mainWindow(), AppResources::kNewDocumentName, newDocument,
      [] { return new CChildFrame; }, [] { return new CLoomwiseView; }));
  if (!processShellCommand()) return false;
  mainWindow()->show();
  return true;
}

void CLoomwiseApp::OnAppAbout() {
  AboutDialog about;
  about.doModal();
}
