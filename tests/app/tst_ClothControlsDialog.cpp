// The Cloth Controls panel driven with the mouse and keys: which parameter it shows, where the
// slider stands, and what a scroll notification writes into the cloth's parameters.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include "GuiTestSupport.h"
#include "app/ClothControlsDialog.h"
#include "app/Resource.h"
#include "cloth/Cloth.h"

namespace {

QRect thumbRect(QSlider* slider) {
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = slider->sliderPosition();
  option.sliderValue = slider->value();
  option.singleStep = slider->singleStep();
  option.pageStep = slider->pageStep();
  option.upsideDown = !slider->invertedAppearance();
  option.tickPosition = slider->tickPosition();
  return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

}  // namespace

class ClothControlsDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Cloth> cloth;
  std::unique_ptr<ClothControlsDialog> panel;

  QComboBox* combo() const { return panel->control<QComboBox>(IDC_PARAMETER_COMBO); }
  QSlider* slider() const { return panel->control<QSlider>(IDC_VALUE_SLIDER); }
  QString label(int id) const { return panel->control<QLabel>(id)->text(); }
  double value(const char* name) const { return cloth->parameters.find(name)->value; }

  // Picks a name from the dropped list with the mouse, as a user does. The list ignores clicks
  // for a moment after it opens (against accidental picks), so the click is repeated until taken.
  bool choose(const QString& name) {
    QTest::mouseClick(combo(), Qt::LeftButton);
    QAbstractItemView* list = combo()->view();
    if (!QTest::qWaitFor([&] { return list->isVisible(); })) return false;
    const QModelIndex index = list->model()->index(combo()->findText(name), 0);
    list->scrollTo(index);
    const QPoint item = list->visualRect(index).center();
    const bool picked = QTest::qWaitFor([&] {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
      return !list->isVisible();
    });
    return picked && combo()->currentText() == name;
  }

  void clickThumb() {
    const QPoint centre = thumbRect(slider()).center();
    QTest::mousePress(slider(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(slider(), Qt::LeftButton, {}, centre);
  }

private slots:
  void init() {
    cloth = std::make_unique<Cloth>();
    panel = std::make_unique<ClothControlsDialog>(&cloth->parameters);
    panel->create();
    QVERIFY(showActive(*panel));
  }

  void cleanup() {
    stopWaitingForModals();
    panel.reset();
    cloth.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  void isATitledPanelWithoutCloseBox() {
    QCOMPARE(panel->windowTitle(), QStringLiteral("Cloth Controls"));
    QVERIFY(!(panel->windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(panel->parentWidget() == nullptr);
  }

  void listsTheNamesSorted() {
    QStringList names;
    for (int i = 0; i < combo()->count(); ++i) names << combo()->itemText(i);
    QCOMPARE(names, QStringList({"cDamping", "density", "gravity", "kBend", "kShear", "kStretch",
                                 "windDirection", "windFrequency", "windMinimum", "windPressure"}));
    QCOMPARE(combo()->currentText(), QStringLiteral("cDamping"));
    QCOMPARE(slider()->minimum(), 0);
    QCOMPARE(slider()->maximum(), 100);
  }

  // Labels and slider position for each default value, and the grid value a scroll notification
  // writes there: a click on the thumb moves nothing and still writes it.
  void showsAndWritesEachParameter_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("written");
    QTest::addColumn<QString>("shown");
    QTest::newRow("cDamping") << "cDamping" << "5.00" << "0.15" << "0.00" << 3 << 0.15 << "0.15";
    QTest::newRow("density") << "density" << "5.00" << "0.30" << "0.05" << 5 << 0.2975 << "0.30";
    QTest::newRow("gravity") << "gravity" << "20.00" << "-9.80" << "-20.00" << 25 << -10.0 << "-10.00";
    QTest::newRow("kBend") << "kBend" << "2000.00" << "150.00" << "0.00" << 7 << 140.0 << "140.00";
    QTest::newRow("kShear") << "kShear" << "8000.00" << "4000.00" << "0.00" << 50 << 4000.0 << "4000.00";
    QTest::newRow("kStretch") << "kStretch" << "16000.00" << "8000.00" << "0.00" << 50 << 8000.0 << "8000.00";
    QTest::newRow("windFrequency") << "windFrequency" << "50.00" << "6.00" << "0.00" << 12 << 6.0 << "6.00";
    QTest::newRow("windMinimum") << "windMinimum" << "500.00" << "40.00" << "-500.00" << 54 << 40.0 << "40.00";
    QTest::newRow("windPressure") << "windPressure" << "500.00" << "20.00" << "-500.00" << 52 << 20.0 << "20.00";
  }
  void showsAndWritesEachParameter() {
    QFETCH(QString, name);
    QFETCH(int, position);
    QFETCH(double, written);
    if (name != combo()->currentText()) QVERIFY(choose(name));
    QTEST(label(IDC_MAXIMUM_LABEL), "top");
    QTEST(panel->valueField->text(), "middle");
    QTEST(label(IDC_MINIMUM_LABEL), "bottom");
    QCOMPARE(slider()->value(), position);
    clickThumb();
    QCOMPARE(slider()->value(), position);
    QCOMPARE(value(name.toLatin1()), written);
    QTEST(panel->valueField->text(), "shown");
  }

  void selectingWritesNothing() {
    const char* names[] = {"cDamping", "density", "gravity", "kBend", "kShear", "kStretch",
                           "windFrequency", "windMinimum", "windPressure"};
    std::vector<double> before;
    for (const char* n : names) before.push_back(value(n));
    for (const char* n : names) QVERIFY(choose(n));
    for (int i = 0; i < 9; ++i) QCOMPARE(value(names[i]), before[i]);
  }

  // Home and End are notifications at the ends; End and the top are the maximum, Home and the
  // bottom the minimum, exactly.
  void endsWriteTheRangeExactly_data() {
    QTest::addColumn<QString>("name");
    for (const char* n : {"cDamping", "density", "gravity", "kBend", "kShear", "kStretch", "windFrequency",
                          "windMinimum", "windPressure"})
      QTest::newRow(n) << n;
  }
  void endsWriteTheRangeExactly() {
    QFETCH(QString, name);
    QVERIFY(choose(name));
    const Parameter* p = cloth->parameters.find(name.toStdString());
    slider()->setFocus();
    QTest::keyClick(slider(), Qt::Key_End);
    QCOMPARE(slider()->value(), 100);
    QVERIFY(p->value == p->maximum);
    QTest::keyClick(slider(), Qt::Key_End);  // already at the top: still a notification
    QVERIFY(p->value == p->maximum);
    QTest::keyClick(slider(), Qt::Key_Home);
    QCOMPARE(slider()->value(), 0);
    QVERIFY(p->value == p->minimum);
    QCOMPARE(panel->valueField->text(), QString::asprintf("%1.2f", p->minimum));
  }

  void draggingTheThumbToTheTopWritesTheMaximum() {
    QVERIFY(choose("gravity"));
    const QPoint start = thumbRect(slider()).center();
    QTest::mousePress(slider(), Qt::LeftButton, {}, start);
    QTest::mouseMove(slider(), QPoint(start.x(), start.y() - 40));
    const double midway = value("gravity");
    QTest::mouseMove(slider(), QPoint(start.x(), -50));
    QTest::mouseRelease(slider(), Qt::LeftButton, {}, QPoint(start.x(), -50));
    QVERIFY(midway > -10.0 && midway < 20.0);  // written while dragging, before the release
    QCOMPARE(slider()->value(), 100);
    QVERIFY(value("gravity") == 20.0);
    QCOMPARE(panel->valueField->text(), QStringLiteral("20.00"));
  }

  void arrowKeysMoveTheThumbTheWayTheyPoint() {
    slider()->setFocus();
    QTest::keyClick(slider(), Qt::Key_Up);
    QCOMPARE(slider()->value(), 4);
    QCOMPARE(value("cDamping"), 0.2);
    QTest::keyClick(slider(), Qt::Key_Down);
    QTest::keyClick(slider(), Qt::Key_Down);
    QCOMPARE(slider()->value(), 2);
    QCOMPARE(value("cDamping"), 0.1);
  }

  // A typed value within the range is written; a key that would take it beyond is refused (-35
  // stops at -3); Default brings the table's value back. The tooltip tells the meaning, unit,
  // range and default.
  void theFieldTakesATypedValueAndDefaultRestores() {
    QVERIFY(choose("gravity"));
    QVERIFY(panel->valueField->toolTip().contains("y component of the gravity force"));
    QVERIFY(panel->valueField->toolTip().contains("force; -20.00 to 20.00, default -9.80"));
    QLineEdit* field = panel->valueField->findChild<QLineEdit*>();
    for (const auto& [typed, written] : {std::pair{"-3.5", -3.5}, std::pair{"-35", -3.0}}) {
      field->selectAll();
      QTest::keyClicks(field, typed);
      QTest::keyClick(field, Qt::Key_Return);
      QCOMPARE(value("gravity"), written);
    }
    QCOMPARE(slider()->value(), 42);
    QTest::mouseClick(panel->defaultButton, Qt::LeftButton);
    QCOMPARE(value("gravity"), -9.8);
    QCOMPARE(panel->valueField->text(), QStringLiteral("-9.80"));
  }

  void switchingBackShowsTheWrittenValue() {
    QVERIFY(choose("kBend"));
    slider()->setFocus();
    QTest::keyClick(slider(), Qt::Key_PageUp);
    const double written = value("kBend");
    const int position = slider()->value();
    QVERIFY(written != 150.0);
    QVERIFY(choose("density"));
    QVERIFY(choose("kBend"));
    QCOMPARE(slider()->value(), position);
    QCOMPARE(panel->valueField->text(), QString::asprintf("%1.2f", written));
  }

  // End puts a parameter at its top, Home at its bottom. At density's bottom alone the default
  // cloth is just inside the limit; with the stiffest stretch it is beyond it.
  void stabilityWarningShowsOnlyBeyondTheLimit_data() {
    QTest::addColumn<QStringList>("moves");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<bool>("warned");
    QTest::newRow("defaults") << QStringList() << 0.25 << false;
    QTest::newRow("lightest") << QStringList({"density Home"}) << 0.25 << false;
    QTest::newRow("lightest and stiffest") << QStringList({"density Home", "kStretch End"}) << 0.25 << true;
    QTest::newRow("narrow spacing") << QStringList() << 0.05 << true;
    QTest::newRow("stiffest of all, heavy") << QStringList({"kStretch End", "kShear End", "kBend End"}) << 0.25
                                            << false;
  }
  void stabilityWarningShowsOnlyBeyondTheLimit() {
    QFETCH(QStringList, moves);
    QFETCH(double, spacing);
    QFETCH(bool, warned);
    const QSize stableSize = panel->size();
    panel->setNodeSpacing(spacing);
    for (const QString& move : moves) {
      QVERIFY(choose(move.section(' ', 0, 0)));
      slider()->setFocus();
      QTest::keyClick(slider(), move.endsWith("End") ? Qt::Key_End : Qt::Key_Home);
    }
    QCOMPARE(panel->stabilityWarning->isVisible(), warned);
    QCOMPARE(panel->height() > stableSize.height(), warned);
    QVERIFY(panel->stabilityWarning->text().contains("Simulation > Solver > XPBD"));
    // The heaviest cloth is stable in every row: the warning goes and the panel takes its size again.
    QVERIFY(choose("density"));
    slider()->setFocus();
    QTest::keyClick(slider(), Qt::Key_End);
    QVERIFY(!panel->stabilityWarning->isVisible());
    QCOMPARE(panel->size(), stableSize);
  }

  void enterAndEscapeKeepThePanelOpen() {
    QTest::keyClick(combo(), Qt::Key_Escape);
    QTest::keyClick(slider(), Qt::Key_Return);
    QVERIFY(panel->isVisible());
    panel->close();
    QVERIFY(panel->isVisible());
  }
};

LOOMWISE_GUI_TEST_MAIN(ClothControlsDialogTest, nullptr)
#include "tst_ClothControlsDialog.moc"
