#pragma once

#include <QString>
#include <vector>

#include "toolkit/CommandTarget.h"

class DocumentHost;
class View;

// A document of the multi-document shell, shown in one or more views. Its manager owns it and
// destroys it with its last window. Unless a document overrides OnOpenDocument and OnSaveDocument,
// its file keeps no content: opening only checks that the file can be read, saving writes it empty.
class Document : public CommandTarget {
public:
  // `host`: the program the document runs in; none for a document on its own, which cannot ask
  // for a file nor list one as recent.
  explicit Document(DocumentHost* host = nullptr);
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;
  ~Document() override;  // views still showing it let go of it

  // The hook for File > New, after the document's title is set; false abandons the document.
  virtual bool OnNewDocument() { return true; }
  virtual bool OnOpenDocument(const QString& path);
  virtual bool OnSaveDocument(const QString& path);
  void OnFileClose();
  void OnFileSaveAs();

  const QString& title() const { return title_; }
  // The windows showing the document take the title, numbered ":1", ":2"… while there are several.
  void setTitle(const QString& title);
  // The title changed: windows that name the document follow it.
  virtual void OnTitleChanged() {}
  const QString& pathName() const { return pathName_; }
  // Names the document after its file and puts the file at the top of the recent-file list.
  void setPathName(const QString& path);

  DocumentHost* host() const { return host_; }
  const std::vector<View*>& views() const { return views_; }
  // Tells every view that what it shows has changed (the cloth moved), so each repaints.
  void updateAllViews();
  void addView(View& view);
  void removeView(View& view);

protected:
  // `view` has just left the document. It may be half destroyed: compare its address, call nothing.
  virtual void OnViewRemoved(const View&) {}

private:
  void updateFrameTitles();

  DocumentHost* const host_;
  QString title_;
  QString pathName_;
  std::vector<View*> views_;
};
