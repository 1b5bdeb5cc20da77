#include "toolkit/Application.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>

#include "toolkit/CommandIds.h"
#include "toolkit/DocumentManager.h"
#include "toolkit/RecentFileList.h"

Application::Application(QStringList commandLine) : commandLine(std::move(commandLine)) {
  onCommand(ID_FILE_NEW, [this] { OnFileNew(); });
  onCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
  onCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
  onCommand(ID_APP_EXIT, [this] { OnAppExit(); });
}

Application::~Application() {
  if (mainWindow_ != nullptr) mainWindow_->closeAllFrames();
  documents.reset();
  mainWindow_.reset();
}

QPrinter& Application::printer() {
  // Made on first use: finding the printers can take a moment.
  if (printer_ == nullptr) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

QString Application::chooseFile(FileDialogKind kind, const QString& suggested) {
  return chooser_(mainWindow_.get(), kind, suggested);
}

void Application::loadStdProfileSettings(int recentFileCount) {
  recent = std::make_unique<RecentFileList>(recentFileCount);
  for (int i = 0; i < recentFileCount; ++i) {
    onCommand(ID_FILE_MRU_FILE1 + i, [this, i] { OnOpenRecentFile(i); });
    onUpdate(ID_FILE_MRU_FILE1 + i, [this, i](CommandUi& ui) { ui.setEnabled(i < recent->files().size()); });
  }
}

void Application::setMainWindow(std::unique_ptr<MdiFrame> frame) {
  mainWindow_ = std::move(frame);
  mainWindow_->setApplication(*this);
  showRecentFiles();
}

void Application::setDocumentManager(std::unique_ptr<DocumentManager> manager) { documents = std::move(manager); }

bool Application::processShellCommand() {
  if (commandLine.isEmpty()) {
    OnFileNew();
    return true;
  }
  return openDocumentFile(commandLine.first()) != nullptr;
}

void Application::addRecentFile(const QString& path) {
  if (recent == nullptr) return;
  recent->add(path);
  showRecentFiles();
}

void Application::showRecentFiles() {
  if (recent != nullptr && mainWindow_ != nullptr) mainWindow_->showRecentFiles(*recent);
}

Document* Application::openDocumentFile(const QString& path) { return documents->openDocumentFile(path); }

void Application::OnFileNew() { documents->openDocumentFile(QString()); }

void Application::OnFileOpen() {
  const QString path = chooseFile(FileDialogKind::Open);
  if (!path.isEmpty()) openDocumentFile(path);
}

void Application::OnFilePrintSetup() {
  // Qt's page setup works on installed printers only; printing to a PDF file sets up its page in
  // the Print dialog.
  if (printer().outputFormat() != QPrinter::NativeFormat) {
    QMessageBox::information(mainWindow_.get(), QCoreApplication::applicationName(),
                             QCoreApplication::translate("Application",
                                                         "No printer is installed. File > Print can still "
                                                         "print to a PDF file and set up its page."));
    return;
  }
  QPageSetupDialog dialog(&printer(), mainWindow_.get());
  dialog.exec();
}

void Application::OnOpenRecentFile(int index) {
  const QString path = recent->files().value(index);
  // A file that can no longer be opened leaves the list, as the user was just told.
  if (openDocumentFile(path) == nullptr) {
    recent->remove(recent->files().indexOf(path));
    showRecentFiles();
  }
}

void Application::OnAppExit() { mainWindow_->close(); }
