// Presets and undo on the real window: what the user sets up, applied and taken back.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QSettings>

#include "AppTestDriver.h"
#include "app/ClothControlsDialog.h"
#include "app/Resource.h"
#include "app/SavedPresets.h"
#include "cloth/MaterialPresets.h"

class SceneEditingTest : public QObject {
  Q_OBJECT
private slots:
  void init() {
    QSettings().clear();
    run = std::make_unique<AppTestDriver>();
    QVERIFY(run->start());
    QVERIFY(run->chooseMenu("&View", "&Cloth Controls"));
  }

  void cleanup() {
    stopWaitingForModals();
    run.reset();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // Silk's values show in the panel; Ctrl+Z puts the flag's back, Ctrl+Shift+Z silk's again.
  void aPresetShowsInThePanelAndUndoPutsItBack() {
    select("density");
    run->action(ID_PRESET_FIRST + 2)->trigger();
    QCOMPARE(panel()->valueField->value(), 0.06);
    for (const MaterialPreset::Value& v : kMaterialPresets[2].values) QCOMPARE(value(v.parameter), v.value);
    QVERIFY(run->chooseMenu("&Edit", "&Undo Preset Silk\tCtrl+Z"));
    QCOMPARE(panel()->valueField->value(), 0.3);
    for (const MaterialPreset::Value& v : kMaterialPresets[0].values) QCOMPARE(value(v.parameter), v.value);
    QTest::keyClick(&run->frame(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(value("density"), 0.06);
  }

  // A typed value, then pins and a collider: each taken back in turn, newest first.
  void undoTakesBackParametersPinsAndCollidersInTurn() {
    select("kBend");
    QLineEdit* field = panel()->valueField->findChild<QLineEdit*>();
    field->selectAll();
    QTest::keyClicks(field, "400");
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(value("kBend"), 400.0);
    run->action(ID_PINS_NONE)->trigger();
    run->action(ID_SCENE_ADD_SPHERE)->trigger();
    Simulation& sim = run->activeDocument()->sim;
    QCOMPARE(sim.colliders().colliders().size(), std::size_t(1));
    QTest::keyClick(&run->frame(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(sim.colliders().colliders().empty());
    QCOMPARE(sim.pins().preset(), PinSet::Preset::None);
    QTest::keyClick(&run->frame(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(sim.pins().preset(), PinSet::Preset::Standard);
    QCOMPARE(value("kBend"), 400.0);
    QTest::keyClick(&run->frame(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(value("kBend"), 150.0);
    QCOMPARE(panel()->valueField->value(), 150.0);
    QVERIFY(!run->action(ID_EDIT_UNDO)->isEnabled());
  }

  // A preset saved under a name is listed, applies its values, and is there in a later session.
  void aSavedPresetIsListedAppliedAndKept() {
    run->activeDocument()->cloth.parameters.find("windMinimum")->value = 0.0;
    auto name = whenModal<QInputDialog>([](QInputDialog* d) {
      d->setTextValue(QStringLiteral("Still air"));
      d->accept();
    });
    run->action(ID_PRESET_SAVE)->trigger();
    QVERIFY(name->ran);
    run->activeDocument()->cloth.parameters.find("windMinimum")->value = 40.0;
    run->frame().router().updateAll();
    QAction* saved = run->action(ID_PRESET_SAVED_FIRST);
    QVERIFY(saved->isVisible() && saved->text() == "Still air" && !run->action(ID_PRESET_SAVED_FIRST + 1)->isVisible());
    saved->trigger();
    QCOMPARE(value("windMinimum"), 0.0);
    QCOMPARE(SavedPresets().presets().front().name, QStringLiteral("Still air"));
  }

private:
  ClothControlsDialog* panel() const { return run->activeDocument()->controlsPanel.get(); }
  double value(const char* name) const { return run->activeDocument()->cloth.parameters.valueOf(name); }
  void select(const char* name) {
    panel()->parameterCombo->setCurrentText(name);
    panel()->OnSelchangeParameterCombo();
  }

  std::unique_ptr<AppTestDriver> run;
};

LOOMWISE_GUI_TEST_MAIN(SceneEditingTest, CLoomwiseView::requestPixelFormat)
#include "tst_SceneEditing.moc"
