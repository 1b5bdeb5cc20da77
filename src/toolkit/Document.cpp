#include "toolkit/Document.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMessageBox>

#include "toolkit/CommandIds.h"
#include "toolkit/DocumentHost.h"
#include "toolkit/View.h"

namespace {

void reportFileError(const QString& what, const QFile& file) {
  QMessageBox::warning(QApplication::activeWindow(), QCoreApplication::applicationName(),
                       what.arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}

}  // namespace

Document::Document(DocumentHost* host) : host_(host) {
  onCommand(ID_FILE_CLOSE, [this] { OnFileClose(); });
  if (host_ != nullptr) onCommand(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
}

Document::~Document() {
  for (View* view : views_) view->document_ = nullptr;
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
  // The manager destroys this document with its last frame, so work from a copy and touch
  // nothing after.
  const std::vector<View*> closing = views_;
  for (View* view : closing)
    if (QMdiSubWindow* frame = view->frame()) frame->close();
}

void Document::OnFileSaveAs() {
  const QString suggested = pathName_.isEmpty() ? title_ : pathName_;
  const QString path = host_->chooseFile(FileDialogKind::Save, suggested);
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
  if (host_ != nullptr) host_->addRecentFile(pathName_);
}

void Document::updateAllViews() {
  for (View* view : views_) view->OnUpdate();
}

void Document::addView(View& view) {
  views_.push_back(&view);
  view.document_ = this;
  view.OnJoinDocument();
  updateFrameTitles();
}

void Document::removeView(View& view) {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
  view.document_ = nullptr;
  OnViewRemoved(view);
  updateFrameTitles();
}

void Document::updateFrameTitles() {
  const std::size_t windows = views_.size();
  for (std::size_t i = 0; i < windows; ++i) {
    QMdiSubWindow* frame = views_[i]->frame();
    if (frame != nullptr) frame->setWindowTitle(windows > 1 ? title_ + QStringLiteral(":%1").arg(i + 1) : title_);
  }
}
