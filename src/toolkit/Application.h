#pragma once

#include <QStringList>
#include <memory>

#include "toolkit/CommandTarget.h"
#include "toolkit/DocumentHost.h"
#include "toolkit/MdiFrame.h"

class Document;
class DocumentManager;
class RecentFileList;

// The application: start-up, the document manager, the main window, the recent-file list, the
// printer settings and the application-wide commands (New, Open, Print Setup, recent files, Exit).
// It is the last target of every route and the host of every document.
class Application : public CommandTarget, public DocumentHost {
public:
  // `commandLine`: the arguments after the program name.
  explicit Application(QStringList commandLine);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  ~Application() override;

  // Start-up; false ends the program.
  virtual bool InitInstance() = 0;

  MdiFrame* mainWindow() const override { return mainWindow_.get(); }
  DocumentManager* documentManager() const { return documents.get(); }
  RecentFileList* recentFiles() const { return recent.get(); }

  QString chooseFile(FileDialogKind kind, const QString& suggested = {}) override;
  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
  void addRecentFile(const QString& path) override;
  QPrinter& printer() override;
  // Opens `path` in a document; none when it cannot be read.
  Document* openDocumentFile(const QString& path);

  void OnFileNew();
  void OnFileOpen();
  void OnFilePrintSetup();
  void OnOpenRecentFile(int index);
  void OnAppExit();

protected:
  void loadStdProfileSettings(int recentFileCount);
  // Before the document manager: its documents open in this frame.
  void setMainWindow(std::unique_ptr<MdiFrame> frame);
  void setDocumentManager(std::unique_ptr<DocumentManager> manager);
  // No argument: a new document; a file name: that file opened. False when that failed.
  bool processShellCommand();

  const QStringList commandLine;

private:
  void showRecentFiles();

  std::unique_ptr<MdiFrame> mainWindow_;
  std::unique_ptr<DocumentManager> documents;  // after the frame it opens windows in, so it goes first
  std::unique_ptr<RecentFileList> recent;
  std::unique_ptr<QPrinter> printer_;
  FileChooser chooser_ = chooseFileWithDialog;
};
