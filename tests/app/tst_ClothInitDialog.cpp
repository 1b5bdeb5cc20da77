// The Cloth Initialization dialog as a user meets it: its layout and keys, and the checks on OK.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "app/ClothInitDialog.h"
#include "app/Resource.h"

namespace {

struct Entries {
  QString spacing, width, height;
};

// The edit fields and the OK button, found by their control ids.
QLineEdit* field(ClothInitDialog* d, int id) { return d->control<QLineEdit>(id); }

void enter(ClothInitDialog* d, const Entries& e) {
  typeInto(field(d, IDC_NODE_SPACING), e.spacing);
  typeInto(field(d, IDC_CLOTH_WIDTH), e.width);
  typeInto(field(d, IDC_CLOTH_HEIGHT), e.height);
}

}  // namespace

class ClothInitDialogTest : public QObject {
  Q_OBJECT
private slots:
  void cleanup() {
    stopWaitingForModals();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  void layoutFollowsTheTemplate() {
    ClothInitDialog d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Cloth Initialization"));
    // A title bar only: no system menu and no close box.
    QVERIFY(!(d.windowFlags() & Qt::WindowSystemMenuHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(d.control<QPushButton>(IDOK)->isDefault());
    QCOMPARE(d.control<QPushButton>(IDCANCEL)->text(), QStringLiteral("Cancel"));
    const QStringList labels = {"Node spacing:", "Cloth width (nodes):", "Cloth height (nodes):"};
    QStringList shown;
    for (QLabel* label : d.findChildren<QLabel*>()) {
      if (label == d.control<QLabel>(IDC_STABILITY_NOTE)) continue;
      shown << label->text();
      QVERIFY(label->alignment() & Qt::AlignRight);
    }
    QCOMPARE(shown, labels);
    // Same proportions as the template: the edits 18 units apart (to the pixel's rounding).
    const int spacingTop = field(&d, IDC_NODE_SPACING)->y();
    const int widthTop = field(&d, IDC_CLOTH_WIDTH)->y();
    const int heightTop = field(&d, IDC_CLOTH_HEIGHT)->y();
    QVERIFY(qAbs((heightTop - widthTop) - (widthTop - spacingTop)) <= 1);
    QVERIFY(field(&d, IDC_NODE_SPACING)->x() > d.findChildren<QLabel*>().first()->geometry().right());
  }

  // The spacing as it is typed is judged as the panel judges it: 0.05 blows up the default cloth.
  void warnsOfASpacingThatWouldBlowUp_data() {
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<bool>("warned");
    QTest::newRow("default") << "0.25" << false;
    QTest::newRow("narrow") << "0.05" << true;
    QTest::newRow("not a number") << "x" << false;
  }
  void warnsOfASpacingThatWouldBlowUp() {
    QFETCH(QString, spacing);
    QFETCH(bool, warned);
    QString note;
    auto step = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      typeInto(field(d, IDC_NODE_SPACING), spacing);
      note = d->control<QLabel>(IDC_STABILITY_NOTE)->text();
      QTest::keyClick(d, Qt::Key_Escape);
    });
    ClothInitDialog d;
    d.doModal();
    QVERIFY(step->ran);
    QCOMPARE(note.startsWith("Unstable: use a spacing of at least 0.0"), warned);
    QCOMPARE(note.isEmpty(), !warned);
  }

  void showsTheInitialValuesAndTabsInTemplateOrder() {
    QStringList order;
    QString spacing, width, height;
    auto step = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      spacing = field(d, IDC_NODE_SPACING)->text();
      width = field(d, IDC_CLOTH_WIDTH)->text();
      height = field(d, IDC_CLOTH_HEIGHT)->text();
      for (int i = 0; i < 4; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      }
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    ClothInitDialog d;
    d.doModal();
    QVERIFY(step->ran);
    QCOMPARE(spacing, QStringLiteral("0.25"));
    QCOMPARE(width, QStringLiteral("17"));
    QCOMPARE(height, QStringLiteral("10"));
    QCOMPARE(order, QStringList({"control1", "control1004", "control1005", "control1006"}));
  }

  void enterRightAwayAcceptsTheInitialValues() {
    auto step = whenModal<ClothInitDialog>([](ClothInitDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
    ClothInitDialog d;
    QCOMPARE(d.doModal(), int(QDialog::Accepted));
    QVERIFY(step->ran);
    QCOMPARE(d.nodeSpacing, 0.25f);
    QCOMPARE(d.clothWidth, 17);
    QCOMPARE(d.clothHeight, 10);
  }

  void escapeLeavesTheFieldsUnread() {
    auto step = whenModal<ClothInitDialog>([](ClothInitDialog* d) {
      enter(d, {"0.5", "30", "40"});
      QTest::keyClick(d, Qt::Key_Escape);
    });
    ClothInitDialog d;
    QCOMPARE(d.doModal(), int(QDialog::Rejected));
    QVERIFY(step->ran);
    QCOMPARE(d.clothWidth, 17);
    QCOMPARE(d.nodeSpacing, 0.25f);
  }

  void acceptsValuesWithinTheRanges_data() {
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<float>("expectedSpacing");
    QTest::addColumn<int>("expectedWidth");
    QTest::addColumn<int>("expectedHeight");
    QTest::newRow("lower bounds") << "0.01" << "3" << "3" << 0.01f << 3 << 3;
    QTest::newRow("upper bounds") << "1" << "100" << "100" << 1.0f << 100 << 100;
    QTest::newRow("blanks around") << " 0.5 " << " 20" << "30 " << 0.5f << 20 << 30;
    QTest::newRow("exponent") << "2.5e-1" << "17" << "10" << 0.25f << 17 << 10;
  }
  void acceptsValuesWithinTheRanges() {
    QFETCH(QString, spacing);
    QFETCH(QString, width);
    QFETCH(QString, height);
    auto step = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      enter(d, {spacing, width, height});
      QTest::keyClick(d, Qt::Key_Return);
    });
    ClothInitDialog d;
    QCOMPARE(d.doModal(), int(QDialog::Accepted));
    QVERIFY(step->ran);
    QTEST(d.nodeSpacing, "expectedSpacing");
    QTEST(d.clothWidth, "expectedWidth");
    QTEST(d.clothHeight, "expectedHeight");
  }

  // Only the first failing field, in the order width, height, spacing, is reported and focused;
  // the dialog stays open with that field's text selected.
  void refusesTheFirstFieldOutOfRange_data() {
    QTest::addColumn<QString>("spacing");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("failingField");
    QTest::addColumn<QString>("message");
    QTest::newRow("width 2") << "0.25" << "2" << "10" << IDC_CLOTH_WIDTH << "between 3 and 100";
    QTest::newRow("width 101") << "0.25" << "101" << "10" << IDC_CLOTH_WIDTH << "between 3 and 100";
    QTest::newRow("height 2") << "0.25" << "17" << "2" << IDC_CLOTH_HEIGHT << "between 3 and 100";
    QTest::newRow("height 101") << "0.25" << "17" << "101" << IDC_CLOTH_HEIGHT << "between 3 and 100";
    QTest::newRow("spacing 0.0099") << "0.0099" << "17" << "10" << IDC_NODE_SPACING << "between 0.01 and 1";
    QTest::newRow("spacing 1.01") << "1.01" << "17" << "10" << IDC_NODE_SPACING << "between 0.01 and 1";
    QTest::newRow("spacing nan") << "nan" << "17" << "10" << IDC_NODE_SPACING << "between 0.01 and 1";
    QTest::newRow("width and spacing") << "5" << "2" << "10" << IDC_CLOTH_WIDTH << "between 3 and 100";
    QTest::newRow("height and spacing") << "0" << "17" << "0" << IDC_CLOTH_HEIGHT << "between 3 and 100";
    QTest::newRow("width not a number") << "0.25" << "ten" << "10" << IDC_CLOTH_WIDTH << "an integer";
    QTest::newRow("width with a point") << "0.25" << "17.5" << "10" << IDC_CLOTH_WIDTH << "an integer";
    QTest::newRow("decimal comma") << "0,5" << "17" << "10" << IDC_NODE_SPACING << "a number";
  }
  void refusesTheFirstFieldOutOfRange() {
    QFETCH(QString, spacing);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(int, failingField);
    QFETCH(QString, message);
    Refusal refusal;
    QString selected;
    auto step = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      enter(d, {spacing, width, height});
      refusal = pressOkExpectingRefusal(d);
      selected = field(d, failingField)->selectedText();
      QTest::keyClick(d, Qt::Key_Escape);
    });
    ClothInitDialog d;
    QCOMPARE(d.doModal(), int(QDialog::Rejected));
    QVERIFY(step->ran);
    QVERIFY(refusal.message.contains(message));
    QVERIFY(refusal.stillOpen);
    QCOMPARE(refusal.focused, QStringLiteral("control%1").arg(failingField));
    QCOMPARE(selected, field(&d, failingField)->text());
  }

  // The spacing is checked once the width is corrected, without reopening the dialog.
  void correctingTheReportedFieldMovesOnToTheNext() {
    QStringList messages;
    auto step = whenModal<ClothInitDialog>([&](ClothInitDialog* d) {
      enter(d, {"1.5", "2", "10"});
      auto dismiss = [&](QMessageBox* box) {
        messages << box->text();
        QTest::keyClick(box, Qt::Key_Return);
      };
      whenModal<QMessageBox>(dismiss);
      QTest::keyClick(d, Qt::Key_Return);
      QTest::keyClicks(d->focusWidget(), "4");  // replaces the selected width
      whenModal<QMessageBox>(dismiss);
      QTest::keyClick(d, Qt::Key_Return);
      QTest::keyClicks(d->focusWidget(), "0.75");
      QTest::keyClick(d, Qt::Key_Return);
    });
    ClothInitDialog d;
    QCOMPARE(d.doModal(), int(QDialog::Accepted));
    QVERIFY(step->ran);
    QCOMPARE(messages.size(), 2);
    QVERIFY(messages[0].contains("3 and 100"));
    QVERIFY(messages[1].contains("0.01 and 1"));
    QCOMPARE(d.clothWidth, 4);
    QCOMPARE(d.nodeSpacing, 0.75f);
  }
};

LOOMWISE_GUI_TEST_MAIN(ClothInitDialogTest, nullptr)
#include "tst_ClothInitDialog.moc"
