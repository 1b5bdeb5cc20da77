#include "toolkit/DataExchange.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <cfloat>

#include "toolkit/DialogTemplate.h"

DataExchange::DataExchange(QWidget& dialog, bool saveAndValidate)
    : saveAndValidate(saveAndValidate), dialog(dialog) {}

QLineEdit* DataExchange::edit(int id) {
  auto* field = qobject_cast<QLineEdit*>(findControl(dialog, id));
  Q_ASSERT_X(field != nullptr, "DataExchange", "no edit control of that id");
  lastControl = field;
  return field;
}

void DataExchange::check(int id, bool& value) {
  if (failed_) return;
  auto* box = qobject_cast<QCheckBox*>(findControl(dialog, id));
  Q_ASSERT_X(box != nullptr, "DataExchange", "no check box of that id");
  lastControl = box;
  if (saveAndValidate)
    value = box->isChecked();
  else
    box->setChecked(value);
}

void DataExchange::require(bool condition, const QString& message) {
  if (failed_ || !saveAndValidate || condition) return;
  fail(message);
}

template <class T, class Parse>
void DataExchange::exchange(int id, T& value, const QString& shown, Parse parse, const char* refusal) {
  if (failed_) return;
  QLineEdit* field = edit(id);
  if (!saveAndValidate) {
    field->setText(shown);
    return;
  }
  bool ok = false;
  const T read = parse(field->text().trimmed(), &ok);
  if (ok)
    value = read;
  else
    fail(QCoreApplication::translate("DataExchange", refusal));
}

void DataExchange::text(int id, int& value) {
  exchange(id, value, QString::number(value), [](const QString& t, bool* ok) { return QLocale::c().toInt(t, ok); },
           QT_TRANSLATE_NOOP("DataExchange", "Please enter an integer."));
}

void DataExchange::text(int id, float& value) {
  exchange(id, value, formatFloat(value), [](const QString& t, bool* ok) { return QLocale::c().toFloat(t, ok); },
           QT_TRANSLATE_NOOP("DataExchange", "Please enter a number."));
}

void DataExchange::minMax(int value, int minimum, int maximum) {
  if (failed_ || !saveAndValidate || (value >= minimum && value <= maximum)) return;
  fail(QCoreApplication::translate("DataExchange", "Please enter an integer between %1 and %2.")
           .arg(minimum)
           .arg(maximum));
}

void DataExchange::minMax(float value, float minimum, float maximum) {
  // Written so that NaN, which compares false with everything, is refused too.
  if (failed_ || !saveAndValidate || (value >= minimum && value <= maximum)) return;
  fail(QCoreApplication::translate("DataExchange", "Please enter a number between %1 and %2.")
           .arg(formatFloat(minimum), formatFloat(maximum)));
}

QString DataExchange::formatFloat(float value) {
  return QString::asprintf("%.*g", FLT_DIG, static_cast<double>(value));
}

void DataExchange::fail(const QString& message) {
  failed_ = true;
  QMessageBox::warning(&dialog, QCoreApplication::applicationName(), message);
  if (lastControl == nullptr) return;
  lastControl->setFocus(Qt::OtherFocusReason);
  if (auto* field = qobject_cast<QLineEdit*>(lastControl)) field->selectAll();
}
