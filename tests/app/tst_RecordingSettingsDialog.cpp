// The Recording Settings dialog: its layout, the checks on OK, and what Escape leaves behind.
#include <QCheckBox>
#include <QLabel>
#include <QSettings>
#include <QLineEdit>
#include <QPushButton>

#include "GuiTestSupport.h"
#include "app/RecordingSettingsDialog.h"
#include "app/Resource.h"

namespace {

struct Entries {
  QString skip, patchesU, patchesV;
};

QLineEdit* field(RecordingSettingsDialog* d, int id) { return d->control<QLineEdit>(id); }

void enter(RecordingSettingsDialog* d, const Entries& e) {
  typeInto(field(d, IDC_TIME_STEP_SKIP), e.skip);
  typeInto(field(d, IDC_PATCHES_U), e.patchesU);
  typeInto(field(d, IDC_PATCHES_V), e.patchesV);
}

// Fills the dialog as the recording command does before opening it.
void presetAsTheCommandDoes(RecordingSettingsDialog& d) {
  d.timeStepSkip = 66;
  d.timeStepLabel = "Current delta t: 0.0005";
}

}  // namespace

class RecordingSettingsDialogTest : public QObject {
  Q_OBJECT
private slots:
  void cleanup() {
    stopWaitingForModals();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  void layoutFollowsTheTemplate() {
    QStringList texts;
    QString skip, patchesU, patchesV;
    bool labelFits = false;
    auto step = whenModal<RecordingSettingsDialog>([&](RecordingSettingsDialog* d) {
      for (QLabel* label : d->findChildren<QLabel*>()) texts << label->text();
      QLabel* timeStep = d->control<QLabel>(IDC_TIME_STEP_LABEL);
      labelFits = timeStep->fontMetrics().horizontalAdvance(timeStep->text()) <= timeStep->width();
      skip = field(d, IDC_TIME_STEP_SKIP)->text();
      patchesU = field(d, IDC_PATCHES_U)->text();
      patchesV = field(d, IDC_PATCHES_V)->text();
      QTest::keyClick(d, Qt::Key_Return);
    });
    RecordingSettingsDialog d;
    presetAsTheCommandDoes(d);
    QCOMPARE(d.doModal(), int(QDialog::Accepted));
    QVERIFY(step->ran);
    QCOMPARE(d.windowTitle(), QStringLiteral("Recording Settings"));
    QVERIFY(!(d.windowFlags() & Qt::WindowSystemMenuHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(d.control<QPushButton>(IDOK)->isDefault());
    QCOMPARE(d.control<QPushButton>(IDCANCEL)->text(), QStringLiteral("Cancel"));  // Cancel records nothing
    QCOMPARE(texts, QStringList({"Current delta t: 0.0005", "Time step skip:", "Number of patches (u):",
                                 "Number of patches (v):", "Formats:"}));
    QVERIFY(labelFits);
    QCOMPARE(skip, QStringLiteral("66"));
    QCOMPARE(patchesU, QStringLiteral("5"));
    QCOMPARE(patchesV, QStringLiteral("5"));
    // Edits 16 units apart, as in the template (to the pixel's rounding).
    const int gap = field(&d, IDC_PATCHES_V)->y() - field(&d, IDC_PATCHES_U)->y();
    QVERIFY(qAbs(gap - (field(&d, IDC_PATCHES_U)->y() - field(&d, IDC_TIME_STEP_SKIP)->y())) <= 1);
  }

  void refusesEntriesOutOfRange_data() {
    QTest::addColumn<QString>("skip");
    QTest::addColumn<QString>("patchesU");
    QTest::addColumn<QString>("patchesV");
    QTest::addColumn<int>("failingField");
    QTest::addColumn<QString>("message");
    QTest::newRow("skip 0") << "0" << "5" << "5" << IDC_TIME_STEP_SKIP << "between 1 and 100";
    QTest::newRow("skip 101") << "101" << "5" << "5" << IDC_TIME_STEP_SKIP << "between 1 and 100";
    QTest::newRow("u 31") << "66" << "31" << "5" << IDC_PATCHES_U << "between 1 and 30";
    QTest::newRow("v 31") << "66" << "5" << "31" << IDC_PATCHES_V << "between 1 and 30";
    QTest::newRow("u 0") << "66" << "0" << "5" << IDC_PATCHES_U << "between 1 and 30";
    QTest::newRow("skip not a number") << "6x" << "5" << "5" << IDC_TIME_STEP_SKIP << "an integer";
  }
  void refusesEntriesOutOfRange() {
    QFETCH(QString, skip);
    QFETCH(QString, patchesU);
    QFETCH(QString, patchesV);
    QFETCH(int, failingField);
    QFETCH(QString, message);
    Refusal refusal;
    auto step = whenModal<RecordingSettingsDialog>([&](RecordingSettingsDialog* d) {
      enter(d, {skip, patchesU, patchesV});
      refusal = pressOkExpectingRefusal(d);
      QTest::keyClick(d, Qt::Key_Escape);
    });
    RecordingSettingsDialog d;
    presetAsTheCommandDoes(d);
    QCOMPARE(d.doModal(), int(QDialog::Rejected));
    QVERIFY(step->ran);
    QVERIFY2(refusal.message.contains(message), qPrintable(refusal.message));
    QVERIFY(refusal.stillOpen);
    QCOMPARE(refusal.focused, QStringLiteral("control%1").arg(failingField));
  }

  // OK reads the fields (the range ends are accepted). A refused OK has already read the fields
  // before the one it refused; Escape must still give back the values the dialog opened with, or
  // a skip of 0 would reach the recording.
  void theFieldsAfterTheDialogCloses_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("triedOk");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<int>>("fields");
    QTest::newRow("OK") << QStringList({"100", "30", "1"}) << false << int(Qt::Key_Return) << int(QDialog::Accepted)
                        << QList<int>({100, 30, 1});
    QTest::newRow("Escape after editing") << QStringList({"10", "10", "10"}) << false << int(Qt::Key_Escape)
                                          << int(QDialog::Rejected) << QList<int>({66, 5, 5});
    QTest::newRow("Escape after a refused OK") << QStringList({"0", "10", "31"}) << true << int(Qt::Key_Escape)
                                               << int(QDialog::Rejected) << QList<int>({66, 5, 5});
    QTest::newRow("Escape after a late refusal") << QStringList({"10", "10", "31"}) << true
                                                 << int(Qt::Key_Escape) << int(QDialog::Rejected) << QList<int>({66, 5, 5});
  }
  void theFieldsAfterTheDialogCloses() {
    QFETCH(QStringList, typed);
    QFETCH(bool, triedOk);
    QFETCH(int, key);
    bool refused = false;
    auto step = whenModal<RecordingSettingsDialog>([&](RecordingSettingsDialog* d) {
      enter(d, {typed[0], typed[1], typed[2]});
      if (triedOk) refused = pressOkExpectingRefusal(d).stillOpen;
      QTest::keyClick(d, Qt::Key(key));
    });
    RecordingSettingsDialog d;
    presetAsTheCommandDoes(d);
    QTEST(d.doModal(), "result");
    QVERIFY(step->ran);
    QCOMPARE(refused, triedOk);
    QTEST(QList<int>({d.timeStepSkip, d.patchesU, d.patchesV}), "fields");
  }

  // The row of check boxes opens with the formats given (MEL alone by default) and gives back
  // those checked on OK; none checked is refused, and Escape gives back what it opened with.
  void theFormatsChosen_data() {
    QTest::addColumn<QStringList>("clicked");  // check box texts, clicked in turn
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("formats");
    QTest::newRow("MEL by default") << QStringList() << int(Qt::Key_Return) << false << "mel";
    QTest::newRow("caches instead") << QStringList({"MEL", "glTF", "PC2"}) << int(Qt::Key_Return) << false
                                    << "pc2,glb";
    QTest::newRow("every format") << QStringList({"PC2", "MDD", "OBJ", "glTF"}) << int(Qt::Key_Return) << false
                                  << "mel,pc2,mdd,obj,glb";
    QTest::newRow("none") << QStringList({"MEL"}) << int(Qt::Key_Escape) << true << "mel";
    QTest::newRow("Escape after changes") << QStringList({"MEL", "OBJ"}) << int(Qt::Key_Escape) << false << "mel";
  }
  void theFormatsChosen() {
    QFETCH(QStringList, clicked);
    QFETCH(int, key);
    QFETCH(bool, refused);
    QStringList boxes;
    bool textsFit = true;
    Refusal refusal;
    auto step = whenModal<RecordingSettingsDialog>([&](RecordingSettingsDialog* d) {
      for (QCheckBox* box : d->findChildren<QCheckBox*>()) {
        boxes << box->text() + (box->isChecked() ? "+" : "");
        textsFit &= box->sizeHint().width() <= box->width();
      }
      for (const QString& text : clicked)
        for (QCheckBox* box : d->findChildren<QCheckBox*>())
          if (box->text() == text) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
      if (refused) refusal = pressOkExpectingRefusal(d);
      QTest::keyClick(d, Qt::Key(key));
    });
    RecordingSettingsDialog d;
    presetAsTheCommandDoes(d);
    d.doModal();
    QVERIFY(step->ran);
    QCOMPARE(boxes, QStringList({"MEL+", "PC2", "MDD", "OBJ", "glTF"}));
    QVERIFY(textsFit);
    QCOMPARE(refusal.stillOpen, refused);
    if (refused) QVERIFY2(refusal.message.contains("at least one format"), qPrintable(refusal.message));
    QString chosen;
    for (RecordingFormat format : d.formats) chosen += (chosen.isEmpty() ? "" : ",") + QString(recordingformat::name(format));
    QTEST(chosen, "formats");
  }

  void theFormatsAreRememberedBetweenRuns() {
    QSettings().clear();
    QCOMPARE(RecordingSettingsDialog::rememberedFormats(), RecordingFormats{RecordingFormat::mel});
    RecordingSettingsDialog::rememberFormats({RecordingFormat::obj, RecordingFormat::glb});
    QCOMPARE(QSettings().value("Recording/Formats").toString(), QStringLiteral("obj,glb"));
    QCOMPARE(RecordingSettingsDialog::rememberedFormats(), (RecordingFormats{RecordingFormat::obj, RecordingFormat::glb}));
    QSettings().setValue("Recording/Formats", "fbx");  // from some other version: MEL again
    QCOMPARE(RecordingSettingsDialog::rememberedFormats(), RecordingFormats{RecordingFormat::mel});
    QSettings().clear();
  }
};

LOOMWISE_GUI_TEST_MAIN(RecordingSettingsDialogTest, nullptr)
#include "tst_RecordingSettingsDialog.moc"
