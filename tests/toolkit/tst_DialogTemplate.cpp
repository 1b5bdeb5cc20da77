// Dialogs from templates: dialog units, control names, kinds and tab order; numbers in and out of
// edit fields; the printed page.
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

#include "GuiTestSupport.h"
#include "toolkit/DataExchange.h"
#include "toolkit/DialogTemplate.h"
#include "toolkit/PrintedPage.h"

class DialogTemplateTest : public QObject {
  Q_OBJECT
private slots:
  void cleanup() {
    stopWaitingForModals();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  void dialogUnitsFollowTheFont() {
    QFont font = QApplication::font();
    for (int size : {8, 12, 20}) {
      font.setPointSize(size);
      const QFontMetrics m(font);
      const int average = qRound(m.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52.0);
      const DialogUnits units(font);
      QCOMPARE(units.averageCharWidth, average);
      QCOMPARE(units.lineHeight, m.height());
      // Four x units are one average character, eight y units one line.
      QCOMPARE(units.toPixels(4, 8, 40, 80), QRect(average, m.height(), 10 * average, 10 * m.height()));
    }
  }

  // A layout drawn for a narrower font must still show its labels whole, keeping its proportions.
  void staticTextsAreNeverClipped() {
    QWidget parent;
    const std::vector<DialogItem> items = {
        {-1, DialogItemKind::StaticRight, "Cloth height (nodes):", 0, 0, 20, 8},
        {30, DialogItemKind::Edit, "", 24, 0, 40, 12},
    };
    const DialogUnits plain(parent.font());
    const DialogUnits fitted(parent.font(), items);
    QVERIFY(fitted.averageCharWidth > plain.averageCharWidth);
    QCOMPARE(fitted.lineHeight, plain.lineHeight);
    buildDialogItems(parent, items, fitted);
    auto* label = parent.findChild<QLabel*>();
    QVERIFY(label->width() >= QFontMetrics(label->font()).horizontalAdvance(label->text()));
    QVERIFY(findControl(parent, 30)->x() >= label->geometry().right());
  }

  void itemsAreNamedByIdAndTabInTemplateOrder() {
    QWidget parent;
    const std::vector<DialogItem> items = {
        {1, DialogItemKind::DefPushButton, "OK", 0, 0, 50, 14},
        {30, DialogItemKind::Edit, "", 0, 20, 40, 12},
        {-1, DialogItemKind::StaticRight, "Label:", 0, 40, 40, 8},
        {20, DialogItemKind::DropDownList, "", 0, 60, 60, 100},
        {10, DialogItemKind::VerticalTrackbar, "", 0, 80, 14, 100},
    };
    buildDialogItems(parent, items, DialogUnits(parent.font()));
    QVERIFY(qobject_cast<QPushButton*>(findControl(parent, 1))->isDefault());
    QVERIFY(qobject_cast<QLineEdit*>(findControl(parent, 30)) != nullptr);
    QVERIFY(qobject_cast<QComboBox*>(findControl(parent, 20)) != nullptr);
    auto* slider = qobject_cast<QSlider*>(findControl(parent, 10));
    QVERIFY(slider != nullptr);
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 100);
    QVERIFY(slider->invertedAppearance());  // position 0 at the top
    QCOMPARE(parent.findChild<QLabel*>()->objectName(), QString());
    QStringList chain;
    for (QWidget* w = findControl(parent, 1); chain.size() < 4; w = w->nextInFocusChain())
      if (w->focusPolicy() & Qt::TabFocus) chain << w->objectName();
    QCOMPARE(chain, QStringList({"control1", "control30", "control20", "control10"}));
  }

  void sortedListsKeepCaseInsensitiveOrder() {
    QComboBox list;
    for (const char* name : {"windPressure", "kBend", "Gravity", "cDamping", "kShear"})
      addSortedItem(list, name);
    QStringList items;
    for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
    QCOMPARE(items, QStringList({"cDamping", "Gravity", "kBend", "kShear", "windPressure"}));
  }

  void floatsShowInShortGeneralForm_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0.25") << 0.25f << "0.25";
    QTest::newRow("0.01") << 0.01f << "0.01";
    QTest::newRow("1") << 1.0f << "1";
    QTest::newRow("100.5") << 100.5f << "100.5";
    QTest::newRow("1/3") << 1.0f / 3 << "0.333333";
    QTest::newRow("small") << 1e-7f << "1e-07";
  }
  void floatsShowInShortGeneralForm() {
    QFETCH(float, value);
    QTEST(DataExchange::formatFloat(value), "text");
  }

  // Writing fills the fields; reading stops at the first failure and keeps the rest unread.
  void exchangeWritesThenReadsInOrder() {
    QWidget dialog;
    buildDialogItems(dialog, {{5, DialogItemKind::Edit, "", 0, 0, 40, 12}, {6, DialogItemKind::Edit, "", 0, 20, 40, 12}},
                     DialogUnits(dialog.font()));
    int count = 42;
    float size = 0.5f;
    DataExchange out(dialog, false);
    out.text(5, count);
    out.text(6, size);
    QCOMPARE(qobject_cast<QLineEdit*>(findControl(dialog, 5))->text(), QStringLiteral("42"));
    QCOMPARE(qobject_cast<QLineEdit*>(findControl(dialog, 6))->text(), QStringLiteral("0.5"));
    qobject_cast<QLineEdit*>(findControl(dialog, 5))->setText("7");
    qobject_cast<QLineEdit*>(findControl(dialog, 6))->setText("0.75");
    DataExchange in(dialog, true);
    in.text(5, count);
    in.minMax(count, 1, 10);
    in.text(6, size);
    in.minMax(size, 0.0f, 1.0f);
    QVERIFY(!in.failed());
    QCOMPARE(count, 7);
    QCOMPARE(size, 0.75f);
  }

  // The page takes the picture as large as it fits, proportions kept, centred.
  void thePrintedPageScalesThePictureToFit() {
    QImage picture(100, 50, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QImage page(200, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    paintPictureOnPage(painter, page.rect(), picture);
    painter.end();
    QCOMPARE(page.pixel(100, 150), qRgb(255, 0, 0));
    QCOMPARE(page.pixel(2, 102), qRgb(255, 0, 0));
    QCOMPARE(page.pixel(197, 197), qRgb(255, 0, 0));
    QCOMPARE(page.pixel(100, 95), qRgb(255, 255, 255));   // above the 200 × 100 picture
    QCOMPARE(page.pixel(100, 205), qRgb(255, 255, 255));  // below it
  }
};

LOOMWISE_GUI_TEST_MAIN(DialogTemplateTest, nullptr)
#include "tst_DialogTemplate.moc"
