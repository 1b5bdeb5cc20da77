#pragma once

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "GuiTestSupport.h"
#include "app/CLoomwiseApp.h"
#include "app/CLoomwiseDoc.h"
#include "app/ClothInitDialog.h"
#include "toolkit/CommandRouter.h"
#include "toolkit/DocumentManager.h"
#include "toolkit/MdiChildFrame.h"
#include "toolkit/MdiFrame.h"
#include "view/CLoomwiseView.h"

// Starts the program and works it as a user would: menus and toolbar buttons clicked with the
// mouse, dialogs answered with keys.
class AppTestDriver {
public:
  // Starts with `arguments`; a start without any answers the first Cloth Initialization dialog
  // with Enter. False when start-up failed.
  bool start(const QStringList& arguments = {});

  MdiFrame& frame() const { return *app->mainWindow(); }
  QMdiArea& area() const { return frame().mdiArea(); }
  std::vector<CLoomwiseDoc*> documents() const;
  CLoomwiseDoc* activeDocument() const { return dynamic_cast<CLoomwiseDoc*>(frame().activeDocument()); }
  CLoomwiseView* activeView() const { return dynamic_cast<CLoomwiseView*>(frame().activeView()); }
  QAction* action(int id) const { return frame().router().find(id); }
  QToolButton* button(int id) const;

  // Opens the menu titled `menu` from the menu bar and clicks its item `item`. False when either
  // is missing or the item is greyed (the menu is then closed again).
  bool chooseMenu(const QString& menu, const QString& item);
  // File > New, answering the Cloth Initialization dialog with Enter.
  bool newDocument();
  void clickButton(int id) { QTest::mouseClick(button(id), Qt::LeftButton); }
  // A file in the driver's temporary directory, with `content` written into it; by default empty,
  // a document as Save As writes it.
  QString file(const QString& name, const QByteArray& content = "") const;

  std::unique_ptr<CLoomwiseApp> app;
  QTemporaryDir files;
};
