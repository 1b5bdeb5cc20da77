#pragma once

#include <QString>
#include <vector>

#include "toolkit/CommandTarget.h"

class DocumentTemplate;
class View;

// A document of the multi-document shell. It is shown in one or more views and dies with its last
// one. Documents here keep no content in their files: opening only checks that the file can be
// read, saving writes an empty file.
class Document : public CommandTarget {
public:
  Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;
  ~Document() override;

  // The hook for File > New, after the document's title is set; false abandons the document.
  virtual bool OnNewDocument() { return true; }
  virtual bool OnOpenDocument(const QString& path);
  virtual bool OnSaveDocument(const QString& path);
  void OnFileClose();
  void OnFileSaveAs();

  const QString& title() const { return title_; }
  void setTitle(const QString& title);
  // The title changed: windows that name the document follow it.
  virtual void OnTitleChanged() {}
  const QString& pathName() const { return pathName_; }
  // Names the document after its file and puts the file at the top of the recent-file list.
  void setPathName(const QString& path);

  const std::vector<View*>& views() const { return views_; }
  DocumentTemplate* docTemplate() const { return template_; }

  // Tells every view that what it shows has changed (the cloth moved), so each repaints.
  void updateAllViews();

  void addView(View& view);
  // Detaches the view; when it was the last one, the document deletes itself.
  void removeView(View& view);

private:
  friend class DocumentTemplate;

  void updateFrameTitles();

  QString title_;
  QString pathName_;
  std::vector<View*> views_;
  DocumentTemplate* template_ = nullptr;
};
