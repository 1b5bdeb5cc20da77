#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class Document;
class MdiChildFrame;
class MdiFrame;
class View;

// The program's documents: makes each with a child frame and view in the main frame, adds a
// window on the active one for Window > New Window, and destroys a document with its last window.
class DocumentManager : public QObject {
public:
  using DocumentFactory = std::function<std::unique_ptr<Document>()>;
  // Frames and views are Qt's to delete: a frame belongs to the main frame's MDI area once added,
  // a view to the frame it is put in.
  using FrameFactory = std::function<MdiChildFrame*()>;
  using ViewFactory = std::function<View*()>;

  // New documents are titled `newName` followed by a running number.
  DocumentManager(MdiFrame& mainFrame, QString newName, DocumentFactory newDocument, FrameFactory newFrame,
                  ViewFactory newView);
  ~DocumentManager() override;

  // An empty path makes a new document and gives it OnNewDocument; a path opens that file, or
  // activates its document when already open. Returns the document shown, or none when it could
  // not be made.
  Document* openDocumentFile(const QString& path);
  // A further window on `document`, shown and made active.
  void addWindow(Document& document);
  std::vector<Document*> documents() const;

private:
  MdiChildFrame* createFrame(Document& document);
  void frameClosed(View& view);
  Document* findDocument(const QString& path) const;
  bool startNew(Document& document);
  bool open(Document& document, const QString& path);

  MdiFrame& mainFrame;
  const QString newName;
  DocumentFactory newDocument;
  FrameFactory newFrame;
  ViewFactory newView;
  std::vector<std::unique_ptr<Document>> documents_;
  int untitledCount = 0;
};
