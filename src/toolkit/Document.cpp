#include "toolkit/Document.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include "toolkit/Application.h"
#include "toolkit/CommandIds.h"
#include "toolkit/DocumentTemplate.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/View.h"

namespace {

void reportFileError(const QString& what, const QFile& file) {
  QMessageBox::warning(QApplication::activeWindow(), QCoreApplication::applicationName(),
                       what.arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}

}  // namespace

Document::Document() {
  onCommand(ID_FILE_CLOSE, [this] { OnFileClose(); });
  onCommand(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
}

Document::~Document() {
  if (template_ != nullptr) template_->removeDocument(*this);
}

bool Document::OnOpenDocument(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) return true;
  reportFileError(QApplication::translate("Document", "Cannot open %1:\n%2."), file);
  return false;
}

bool Document::OnSaveDocument(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.flush()) return true;
  reportFileError(QApplication::translate("Document", "Cannot save %1:\n%2."), file);
  return false;
}

void Document::OnFileClose() {
  // Closing the last frame deletes this document, so work from a copy and touch nothing after.
  const std::vector<View*> closing = views_;
  for (View* view : closing)
    if (MdiChildFrame* frame = view->frame()) frame->close();
}

void Document::OnFileSaveAs() {
  Application* app = Application::instance();
  const QString suggested = pathName_.isEmpty() ? title_ : pathName_;
  const QString path = app->chooseFile(FileDialogKind::Save, suggested);
  if (!path.isEmpty() && OnSaveDocument(path)) setPathName(path);
}

void Document::setTitle(const QString& title) {
  title_ = title;
  updateFrameTitles();
  OnTitleChanged();
}

void Document::setPathName(const QString& path) {
  pathName_ = QFileInfo(path).absoluteFilePath();
  setTitle(QFileInfo(path).fileName());
  if (Application* app = Application::instance()) app->addRecentFile(pathName_);
}

void Document::updateAllViews() {
  for (View* view : views_) view->OnUpdate();
}

void Document::addView(View& view) {
  views_.push_back(&view);
  view.document_ = this;
  updateFrameTitles();
}

void Document::removeView(View& view) {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
  view.document_ = nullptr;
  if (views_.empty())
    delete this;
  else
    updateFrameTitles();
}

void Document::updateFrameTitles() {
  const int windows = static_cast<int>(views_.size());
  for (int i = 0; i < windows; ++i)
    if (MdiChildFrame* frame = views_[i]->frame()) frame->updateTitle(i + 1, windows);
}
