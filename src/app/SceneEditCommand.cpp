#include "app/SceneEditCommand.h"

SceneEditCommand::SceneEditCommand(SceneSnapshot before, SceneSnapshot after, const QString& text, bool mergeable,
                                   Restore restore)
    : before_(std::move(before)), after_(std::move(after)), mergeable_(mergeable), restore_(std::move(restore)) {
  setText(text);
}

void SceneEditCommand::redo() {
  if (!made_) restore_(after_);
  made_ = false;
}

bool SceneEditCommand::mergeWith(const QUndoCommand* other) {
  // Only the same parameter moved again: its text names it.
  if (other->id() != id() || other->text() != text()) return false;
  after_ = static_cast<const SceneEditCommand*>(other)->after_;
  return true;
}
