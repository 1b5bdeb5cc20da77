#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class Document;
class MdiChildFrame;
class MdiFrame;
class View;

// Joins a document class with its child frame and view classes, and makes, names and tracks the
// documents of that type. The template string holds seven fields separated by '\n': window title,
// document name, name for new documents, filter name, filter extension, file-type id and name.
class DocumentTemplate {
public:
  enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

  using DocumentFactory = std::function<std::unique_ptr<Document>()>;
  using FrameFactory = std::function<std::unique_ptr<MdiChildFrame>()>;
  using ViewFactory = std::function<std::unique_ptr<View>()>;

  DocumentTemplate(int resourceId, const QString& templateString, DocumentFactory newDocument,
                   FrameFactory newFrame, ViewFactory newView);
  DocumentTemplate(const DocumentTemplate&) = delete;
  DocumentTemplate& operator=(const DocumentTemplate&) = delete;
  ~DocumentTemplate();

  QString docString(DocStringIndex index) const;

  // An empty path makes a new document, titled by the name for new documents and a running number
  // and given OnNewDocument; a path opens that file, or activates its document when already open.
  // Returns the document shown, or none when it could not be made.
  Document* openDocumentFile(const QString& path, MdiFrame& mainFrame);
  // A further frame and view on `document`, added to the main frame but not yet shown.
  MdiChildFrame* createNewFrame(Document& document, MdiFrame& mainFrame);

  const std::vector<Document*>& documents() const { return documents_; }
  void removeDocument(Document& document);

  const int resourceId;

private:
  Document* findDocument(const QString& path) const;
  bool startNew(Document& document);
  bool open(Document& document, const QString& path);

  QStringList fields;
  DocumentFactory newDocument;
  FrameFactory newFrame;
  ViewFactory newView;
  std::vector<Document*> documents_;
  int untitledCount = 0;
};
