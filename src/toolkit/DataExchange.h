#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Moves a dialog's members into its edit controls and, on OK, back out again with range checks.
// Reading stops at the first failure: the user is told what is wanted, that field gets the focus
// with its text selected, and the caller keeps the dialog open. Numbers always use '.' as the
// decimal point, whatever the user's locale.
class DataExchange {
public:
  DataExchange(QWidget& dialog, bool saveAndValidate);

  void text(int id, int& value);
  // A check box: checked is true.
  void check(int id, bool& value);
  void text(int id, float& value);
  // Range checks of the value last exchanged, both bounds inclusive. Floats are compared in
  // single precision, so a typed 0.01 meets a bound of 0.01f.
  void minMax(int value, int minimum, int maximum);
  void minMax(float value, float minimum, float maximum);

  // While reading, refuses the entries with `message` unless `condition` holds; the control last
  // exchanged gets the focus.
  void require(bool condition, const QString& message);

  bool failed() const { return failed_; }

  // A float in short general form (0.25, 0.01, 1).
  static QString formatFloat(float value);

  const bool saveAndValidate;

private:
  QLineEdit* edit(int id);
  // Writes `shown` into the field, or reads it back with `parse`, refusing what does not parse.
  template <class T, class Parse>
  void exchange(int id, T& value, const QString& shown, Parse parse, const char* refusal);
  void fail(const QString& message);

  QWidget& dialog;
  QWidget* lastControl = nullptr;
  bool failed_ = false;
};
