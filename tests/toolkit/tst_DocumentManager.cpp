// The document manager: titles of new documents, windows of one document, and a document that
// dies with its last window, also when it never came into being.
#include <QMdiArea>
#include <QWidget>

#include "GuiTestSupport.h"
#include "toolkit/CommandIds.h"
#include "toolkit/CommandRouter.h"
#include "toolkit/Document.h"
#include "toolkit/DocumentManager.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/MdiFrame.h"
#include "toolkit/View.h"

namespace {

int liveDocuments = 0;
bool refuseNew = false;

class Note : public Document {
public:
  Note() { ++liveDocuments; }
  ~Note() override { --liveDocuments; }
  bool OnNewDocument() override { return !refuseNew; }
};

class NoteView : public QWidget, public View {
public:
  QWidget& widget() override { return *this; }

protected:
  QImage printedPicture() override { return grab().toImage(); }
};

}  // namespace

class DocumentManagerTest : public QObject {
  Q_OBJECT

  std::unique_ptr<MdiFrame> frame;
  std::unique_ptr<DocumentManager> notes;

  QStringList windowTitles() const {
    QStringList titles;
    for (QMdiSubWindow* w : frame->mdiArea().subWindowList()) titles << w->windowTitle();
    return titles;
  }

private slots:
  void init() {
    refuseNew = false;
    frame = std::make_unique<MdiFrame>("Notes");
    notes = std::make_unique<DocumentManager>(
        *frame, "Note", [] { return std::make_unique<Note>(); }, [] { return new MdiChildFrame; },
        [] { return new NoteView; });
    frame->show();
  }
  void cleanup() {
    frame.reset();
    notes.reset();
    QCOMPARE(liveDocuments, 0);
    stopWaitingForModals();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // A document that never came into being takes its frame with it and uses up no number.
  void newDocumentsAreNumberedFromOne() {
    QVERIFY(notes->openDocumentFile({}) != nullptr);
    refuseNew = true;
    QCOMPARE(notes->openDocumentFile({}), nullptr);
    QCOMPARE(liveDocuments, 1);
    refuseNew = false;
    Document* second = notes->openDocumentFile({});
    QCOMPARE(second->title(), QStringLiteral("Note2"));
    QTRY_COMPARE(windowTitles(), QStringList({"Note1", "Note2"}));
    QCOMPARE(frame->windowTitle(), QStringLiteral("Notes - Note2"));
  }

  void windowsOfOneDocumentAreNumbered() {
    Document* doc = notes->openDocumentFile({});
    // Window > New Window is the main frame's command; the manager makes the window.
    QVERIFY(frame->router().dispatch(ID_WINDOW_NEW));
    QVERIFY(frame->router().dispatch(ID_WINDOW_NEW));
    QCOMPARE(windowTitles(), QStringList({"Note1:1", "Note1:2", "Note1:3"}));
    frame->mdiArea().subWindowList()[1]->close();
    QTRY_COMPARE(windowTitles(), QStringList({"Note1:1", "Note1:2"}));
    doc->setTitle("Renamed");
    QCOMPARE(windowTitles(), QStringList({"Renamed:1", "Renamed:2"}));
    QCOMPARE(frame->windowTitle(), QStringLiteral("Notes - Renamed"));
    doc->OnFileClose();
    QCOMPARE(liveDocuments, 0);
    QCOMPARE(frame->windowTitle(), QStringLiteral("Notes"));
  }
};

LOOMWISE_GUI_TEST_MAIN(DocumentManagerTest, nullptr)
#include "tst_DocumentManager.moc"
