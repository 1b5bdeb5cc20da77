#pragma once

#include <QUndoCommand>
#include <functional>

#include "sim/SceneSnapshot.h"

// One change to a scene's settings on a document's undo stack: undo puts `before` back, redo
// `after`. The change has been made when the command is pushed, so its first redo does nothing.
// Successive changes of one mergeable kind (a slider dragged) are one step to take back.
class SceneEditCommand : public QUndoCommand {
public:
  using Restore = std::function<void(const SceneSnapshot&)>;

  SceneEditCommand(SceneSnapshot before, SceneSnapshot after, const QString& text, bool mergeable, Restore restore);

  void undo() override { restore_(before_); }
  void redo() override;
  int id() const override { return mergeable_ ? 1 : -1; }
  bool mergeWith(const QUndoCommand* other) override;

private:
  SceneSnapshot before_;
  SceneSnapshot after_;
  bool mergeable_;
  bool made_ = true;  // the change was made before the push
  Restore restore_;
};
