#include "toolkit/TemplateDialog.h"

#include <QPushButton>

#include "toolkit/CommandIds.h"
#include "toolkit/DataExchange.h"

namespace {

Qt::WindowFlags frameFlags(bool systemMenu) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (systemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  return flags;
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& t, QWidget* parent)
    : QDialog(parent, frameFlags(t.systemMenu)) {
  setWindowTitle(t.caption);
  const DialogUnits units(font(), t.items);
  buildDialogItems(*this, t.items, units);
  setFixedSize(units.toPixels(0, 0, t.width, t.height).size());
  for (const DialogItem& item : t.items) itemIds.push_back(item.id);
  if (auto* ok = control<QPushButton>(IDOK)) connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
  if (auto* cancel = control<QPushButton>(IDCANCEL))
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
}

int TemplateDialog::doModal() {
  initialise();
  return exec();
}

void TemplateDialog::create() { initialise(); }

void TemplateDialog::initialise() {
  if (OnInitDialog()) focusFirstTabStop();
}

bool TemplateDialog::OnInitDialog() { return updateData(false); }

void TemplateDialog::OnOK() {
  if (updateData(true)) done(Accepted);
}

void TemplateDialog::OnCancel() { done(Rejected); }

bool TemplateDialog::updateData(bool saveAndValidate) {
  DataExchange exchange(*this, saveAndValidate);
  doDataExchange(exchange);
  return !exchange.failed();
}

void TemplateDialog::focusFirstTabStop() {
  for (int id : itemIds) {
    QWidget* widget = id == kNoControlId ? nullptr : control(id);
    if (widget != nullptr && (widget->focusPolicy() & Qt::TabFocus)) {
      widget->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}
