#pragma once

#include <QStringList>

// The most recently opened or saved files, newest first, kept in the user's settings under
// "Recent File List" as File1, File2, … so that they survive the program.
class RecentFileList {
public:
  explicit RecentFileList(int capacity);

  void add(const QString& path);  // to the top; an entry already listed moves there
  void remove(int index);
  const QStringList& files() const { return files_; }
  // The menu text of entry `index`: its number as mnemonic and the path.
  QString menuText(int index) const;

private:
  void save() const;

  const int capacity_;
  QStringList files_;
};
