#pragma once

#include <QRect>
#include <QString>
#include <vector>

class QFont;
class QWidget;

// The kinds of control a dialog template can hold.
enum class DialogItemKind {
  PushButton,
  DefPushButton,     // the button Enter presses
  Edit,              // bordered single-line edit field, scrolling horizontally
  StaticLeft,
  StaticRight,
  Icon,              // `text` names the image resource
  DropDownList,      // a sorted list to choose from, no typing
  VerticalTrackbar,  // range 0 to 100, position 0 at the top
  CheckBox,
};

// The id of an item that is never looked up, such as a label.
constexpr int kNoControlId = -1;

// One control of a template: its id, kind, text and rectangle in dialog units.
struct DialogItem {
  int id;
  DialogItemKind kind;
  QString text;
  int x, y, width, height;
};

// A dialog laid out in dialog units, its items in template order, which is also the tab order.
struct DialogTemplate {
  QString caption;
  int width, height;
  bool systemMenu;  // false: a title bar only, no system menu and no close box
  std::vector<DialogItem> items;
};

// Converts dialog units to pixels for a font: x units are a quarter of the font's average character
// width, y units an eighth of its line height, so a layout keeps its proportions in any font.
// Given the template's items, x units widen as far as every static text needs to show whole:
// fonts whose lower case runs wider than the layout's original font would otherwise clip labels.
class DialogUnits {
public:
  explicit DialogUnits(const QFont& font, const std::vector<DialogItem>& items = {});
  QRect toPixels(int x, int y, int width, int height) const;

  int averageCharWidth;
  int lineHeight;
};

// The object name under which a control of the given id can be found ("control1005").
QString controlName(int id);
QWidget* findControl(const QWidget& parent, int id);
// Creates the items as children of `parent`, in template order.
void buildDialogItems(QWidget& parent, const std::vector<DialogItem>& items, const DialogUnits& units);

class QComboBox;
// Adds `text` to a sorted list at its place in case-insensitive order; returns its index.
int addSortedItem(QComboBox& list, const QString& text);
