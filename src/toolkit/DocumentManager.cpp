#include "toolkit/DocumentManager.h"

#include <QFileInfo>
#include <algorithm>

#include "toolkit/Document.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/MdiFrame.h"
#include "toolkit/View.h"

DocumentManager::DocumentManager(MdiFrame& mainFrame, QString newName, DocumentFactory newDocument,
                                 FrameFactory newFrame, ViewFactory newView)
    : mainFrame(mainFrame),
      newName(std::move(newName)),
      newDocument(std::move(newDocument)),
      newFrame(std::move(newFrame)),
      newView(std::move(newView)) {
  connect(&mainFrame, &MdiFrame::newWindowRequested, this, [this](Document* document) { addWindow(*document); });
}

DocumentManager::~DocumentManager() = default;

Document* DocumentManager::openDocumentFile(const QString& path) {
  if (Document* open = path.isEmpty() ? nullptr : findDocument(path)) {
    mainFrame.activateFrame(*open->views().front()->frame());
    return open;
  }
  documents_.push_back(newDocument());
  Document& document = *documents_.back();
  MdiChildFrame* frame = createFrame(document);
  if (!(path.isEmpty() ? startNew(document) : open(document, path))) {
    frame->close();  // takes the view out of the document, which then goes
    return nullptr;
  }
  mainFrame.activateFrame(*frame);
  return &document;
}

void DocumentManager::addWindow(Document& document) { mainFrame.activateFrame(*createFrame(document)); }

std::vector<Document*> DocumentManager::documents() const {
  std::vector<Document*> all;
  for (const std::unique_ptr<Document>& document : documents_) all.push_back(document.get());
  return all;
}

MdiChildFrame* DocumentManager::createFrame(Document& document) {
  MdiChildFrame* frame = newFrame();
  View* view = newView();
  frame->setView(*view);
  connect(frame, &MdiChildFrame::frameClosed, this, [this](MdiChildFrame*, View* closing) { frameClosed(*closing); });
  mainFrame.addChildFrame(*frame);
  document.addView(*view);
  return frame;
}

void DocumentManager::frameClosed(View& view) {
  Document* document = view.document();
  if (document == nullptr) return;
  document->removeView(view);
  if (!document->views().empty()) return;
  documents_.erase(std::find_if(documents_.begin(), documents_.end(),
                                [document](const std::unique_ptr<Document>& d) { return d.get() == document; }));
}

Document* DocumentManager::findDocument(const QString& path) const {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  for (const std::unique_ptr<Document>& document : documents_)
    if (document->pathName() == absolute) return document.get();
  return nullptr;
}

bool DocumentManager::startNew(Document& document) {
  document.setTitle(newName + QString::number(untitledCount + 1));
  if (!document.OnNewDocument()) return false;
  // The number is used up only by a document that comes into being.
  ++untitledCount;
  return true;
}

bool DocumentManager::open(Document& document, const QString& path) {
  if (!document.OnOpenDocument(path)) return false;
  document.setPathName(path);
  return true;
}
