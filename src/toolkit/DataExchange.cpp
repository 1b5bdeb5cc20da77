#include "toolkit/DataExchange.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <cfloat>

#include "toolkit/DialogTemplate.h"

DataExchange::DataExchange(QWidget& dialog, bool saveAndValidate)
    : saveAndValidate(saveAndValidate), dialog(dialog) {}

QLineEdit* DataExchange::edit(int id) {
  lastEdit = qobject_cast<QLineEdit*>(findControl(dialog, id));
  Q_ASSERT_X(lastEdit != nullptr, "DataExchange", "no edit control of that id");
  return lastEdit;
}

void DataExchange::text(int id, int& value) {
  if (failed_) return;
  QLineEdit* field = edit(id);
  if (!saveAndValidate) {
    field->setText(QString::number(value));
    return;
  }
  bool ok = false;
  const int read = QLocale::c().toInt(field->text().trimmed(), &ok);
  if (ok)
    value = read;
  else
    fail(QCoreApplication::translate("DataExchange", "Please enter an integer."));
}

void DataExchange::text(int id, float& value) {
  if (failed_) return;
  QLineEdit* field = edit(id);
  if (!saveAndValidate) {
    field->setText(formatFloat(value));
    return;
  }
  bool ok = false;
  const float read = QLocale::c().toFloat(field->text().trimmed(), &ok);
  if (ok)
    value = read;
  else
    fail(QCoreApplication::translate("DataExchange", "Please enter a number."));
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
  if (lastEdit != nullptr) {
    lastEdit->setFocus(Qt::OtherFocusReason);
    lastEdit->selectAll();
  }
}
