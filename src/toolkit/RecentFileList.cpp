#include "toolkit/RecentFileList.h"

#include <QDir>
#include <QSettings>

namespace {

const char kSection[] = "Recent File List";

QString entryKey(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

RecentFileList::RecentFileList(int capacity) : capacity_(capacity) {
  QSettings settings;
  settings.beginGroup(QLatin1String(kSection));
  for (int i = 0; i < capacity_; ++i) {
    const QString path = settings.value(entryKey(i)).toString();
    if (!path.isEmpty()) files_.append(path);
  }
}

void RecentFileList::add(const QString& path) {
  files_.removeAll(path);
  files_.prepend(path);
  while (files_.size() > capacity_) files_.removeLast();
  save();
}

void RecentFileList::remove(int index) {
  if (index < 0 || index >= files_.size()) return;
  files_.removeAt(index);
  save();
}

QString RecentFileList::menuText(int index) const {
  QString path = QDir::toNativeSeparators(files_.value(index));
  path.replace(QLatin1Char('&'), QLatin1String("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(path);
}

void RecentFileList::save() const {
  QSettings settings;
  settings.beginGroup(QLatin1String(kSection));
  for (int i = 0; i < capacity_; ++i) {
    if (i < files_.size())
      settings.setValue(entryKey(i), files_[i]);
    else
      settings.remove(entryKey(i));
  }
}
