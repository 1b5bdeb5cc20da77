#pragma once

#include <QStringList>
#include <memory>

#include "toolkit/CommandTarget.h"
#include "toolkit/FileDialogs.h"

class Document;
class DocumentTemplate;
class MdiFrame;
class QPrinter;
class RecentFileList;

// The application: start-up, the document template, the main window, the recent-file list, the
// printer settings and the application-wide commands (New, Open, Print Setup, recent files, Exit).
// One exists at a time, reachable through instance(); it is the last target of every route.
class Application : public CommandTarget {
public:
  // `commandLine`: the arguments after the program name.
  explicit Application(QStringList commandLine);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  ~Application() override;

  static Application* instance() { return current; }

  // Start-up; false ends the program.
  virtual bool InitInstance() = 0;

  MdiFrame* mainWindow() const { return mainWindow_.get(); }
  DocumentTemplate* docTemplate() const { return template_.get(); }
  RecentFileList* recentFiles() const { return recent.get(); }
  QPrinter& printer();

  QString chooseFile(FileDialogKind kind, const QString& suggested = {});
  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
  void addRecentFile(const QString& path);
  // Opens `path` in a document of the template; none when it cannot be read.
  Document* openDocumentFile(const QString& path);

  void OnFileNew();
  void OnFileOpen();
  void OnFilePrintSetup();
  void OnOpenRecentFile(int index);
  void OnAppExit();

protected:
  void loadStdProfileSettings(int recentFileCount);
  void addDocTemplate(std::unique_ptr<DocumentTemplate> docTemplate);
  void setMainWindow(std::unique_ptr<MdiFrame> frame);
  // No argument: a new document; a file name: that file opened. False when that failed.
  bool processShellCommand();

  const QStringList commandLine;

private:
  void showRecentFiles();

  static Application* current;

  std::unique_ptr<DocumentTemplate> template_;
  std::unique_ptr<MdiFrame> mainWindow_;  // after the template: it closes the documents first
  std::unique_ptr<RecentFileList> recent;
  std::unique_ptr<QPrinter> printer_;
  FileChooser chooser_ = chooseFileWithDialog;
};
