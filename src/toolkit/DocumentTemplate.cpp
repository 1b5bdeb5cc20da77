#include "toolkit/DocumentTemplate.h"

#include <QFileInfo>
#include <algorithm>

#include "toolkit/Document.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/MdiFrame.h"
#include "toolkit/View.h"

DocumentTemplate::DocumentTemplate(int resourceId, const QString& templateString,
                                   DocumentFactory newDocument, FrameFactory newFrame, ViewFactory newView)
    : resourceId(resourceId),
      fields(templateString.split(QLatin1Char('\n'))),
      newDocument(std::move(newDocument)),
      newFrame(std::move(newFrame)),
      newView(std::move(newView)) {}

DocumentTemplate::~DocumentTemplate() {
  for (Document* document : documents_) document->template_ = nullptr;
}

QString DocumentTemplate::docString(DocStringIndex index) const { return fields.value(index); }

Document* DocumentTemplate::openDocumentFile(const QString& path, MdiFrame& mainFrame) {
  if (Document* open = path.isEmpty() ? nullptr : findDocument(path)) {
    mainFrame.activateFrame(*open->views().front()->frame());
    return open;
  }
  Document* document = newDocument().release();
  document->template_ = this;
  documents_.push_back(document);
  MdiChildFrame* frame = createNewFrame(*document, mainFrame);
  if (!(path.isEmpty() ? startNew(*document) : open(*document, path))) {
    frame->close();  // takes the view out of the document, which then deletes itself
    return nullptr;
  }
  mainFrame.activateFrame(*frame);
  return document;
}

MdiChildFrame* DocumentTemplate::createNewFrame(Document& document, MdiFrame& mainFrame) {
  MdiChildFrame* frame = newFrame().release();
  View* view = newView().release();
  frame->setView(*view);  // the frame owns the view's widget from here on
  mainFrame.addChildFrame(*frame);
  document.addView(*view);
  return frame;
}

void DocumentTemplate::removeDocument(Document& document) {
  documents_.erase(std::remove(documents_.begin(), documents_.end(), &document), documents_.end());
}

Document* DocumentTemplate::findDocument(const QString& path) const {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  for (Document* document : documents_)
    if (document->pathName() == absolute) return document;
  return nullptr;
}

bool DocumentTemplate::startNew(Document& document) {
  document.setTitle(docString(fileNewName) + QString::number(untitledCount + 1));
  if (!document.OnNewDocument()) return false;
  // The number is used up only by a document that comes into being.
  ++untitledCount;
  return true;
}

bool DocumentTemplate::open(Document& document, const QString& path) {
  if (!document.OnOpenDocument(path)) return false;
  document.setPathName(path);
  return true;
}
