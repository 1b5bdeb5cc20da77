#pragma once

#include <QImage>

#include "toolkit/CommandTarget.h"

class Document;
class QMdiSubWindow;
class QPrinter;
class QWidget;

// A view of a document, living in a child frame. The widget class that shows the document derives
// from its Qt widget class and from this. Printing puts the view's current picture on the page.
class View : public CommandTarget {
public:
  View() = default;
  View(const View&) = delete;
  View& operator=(const View&) = delete;
  ~View() override;  // leaves its document

  Document* document() const { return document_; }
  QMdiSubWindow* frame();
  virtual QWidget& widget() = 0;

  // The view has just been added to document().
  virtual void OnJoinDocument() {}
  // The document changed: show it anew.
  virtual void OnUpdate() {}
  // The view's window is going away: called once, when its frame closes.
  virtual void OnDestroy() {}

  void OnFilePrint();
  void OnFilePrintDirect();
  void OnFilePrintPreview();

protected:
  // The picture a printed page shows.
  virtual QImage printedPicture() = 0;

private:
  friend class Document;

  // The program's printer, reached through the document.
  QPrinter& printer() const;
  void printOn(QPrinter& printer);

  Document* document_ = nullptr;
};
