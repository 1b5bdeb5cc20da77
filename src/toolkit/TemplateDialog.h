#pragma once

#include <QDialog>

#include "toolkit/DialogTemplate.h"

class DataExchange;

// A dialog built from its template. Modal use: construct, doModal. Modeless use: construct,
// create, then show and hide it. Button 1 is OK, which exchanges and checks the data before it
// closes; button 2 and the Escape key cancel without reading the controls.
class TemplateDialog : public QDialog {
  Q_OBJECT
public:
  explicit TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);

  // Runs the dialog modally; QDialog::Accepted or QDialog::Rejected, as exec does.
  int doModal();
  // Initialises the dialog for modeless use; it stays hidden until shown.
  void create();

  QWidget* control(int id) const { return findControl(*this, id); }
  template <class T>
  T* control(int id) const {
    return qobject_cast<T*>(control(id));
  }

  void accept() override { OnOK(); }
  void reject() override { OnCancel(); }

protected:
  // Puts the members into the controls. True gives the focus to the first tab stop.
  virtual bool OnInitDialog();
  virtual void doDataExchange(DataExchange&) {}
  virtual void OnOK();
  virtual void OnCancel();
  // Exchanges the members with the controls; false when a check failed.
  bool updateData(bool saveAndValidate);

private:
  void initialise();
  void focusFirstTabStop();

  std::vector<int> itemIds;
};
