#include "toolkit/DialogTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "toolkit/CommandIds.h"

namespace {

// The 52 letters whose mean width is a font's average character width for dialog units.
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Dialog-unit conversions round to the nearest pixel.
int scaled(int units, int base, int divisor) { return (units * base + divisor / 2) / divisor; }

QWidget* makeButton(QWidget& parent, const DialogItem& item) {
  auto* button = new QPushButton(item.text, &parent);
  button->setDefault(item.kind == DialogItemKind::DefPushButton);
  return button;
}

QWidget* makeLabel(QWidget& parent, const DialogItem& item) {
  auto* label = new QLabel(item.text, &parent);
  label->setTextFormat(Qt::PlainText);
  const Qt::Alignment horizontal =
      item.kind == DialogItemKind::StaticRight ? Qt::AlignRight : Qt::AlignLeft;
  label->setAlignment(horizontal | Qt::AlignTop);
  return label;
}

QWidget* makeIcon(QWidget& parent, const DialogItem& item, const QRect& r) {
  auto* label = new QLabel(&parent);
  label->setPixmap(QIcon(item.text).pixmap(r.size()));
  return label;
}

QWidget* makeTrackbar(QWidget& parent) {
  auto* slider = new QSlider(Qt::Vertical, &parent);
  slider->setRange(0, 100);
  // Position 0 at the top, and the arrow keys move the thumb the way they point.
  slider->setInvertedAppearance(true);
  slider->setInvertedControls(true);
  slider->setPageStep(20);
  slider->setTickPosition(QSlider::NoTicks);
  return slider;
}

// The combo box's rectangle includes its dropped list, which sets how many rows it shows.
QWidget* makeDropDownList(QWidget& parent, const QRect& r, QRect& geometry) {
  auto* combo = new QComboBox(&parent);
  const int closedHeight = combo->sizeHint().height();
  const int rowHeight = QFontMetrics(combo->font()).height();
  combo->setMaxVisibleItems(std::max(1, (r.height() - closedHeight) / rowHeight));
  geometry.setHeight(closedHeight);
  return combo;
}

QWidget* makeItem(QWidget& parent, const DialogItem& item, const QRect& r, QRect& geometry) {
  switch (item.kind) {
    case DialogItemKind::PushButton:
    case DialogItemKind::DefPushButton: return makeButton(parent, item);
    case DialogItemKind::Edit: return new QLineEdit(item.text, &parent);
    case DialogItemKind::StaticLeft:
    case DialogItemKind::StaticRight: return makeLabel(parent, item);
    case DialogItemKind::Icon: return makeIcon(parent, item, r);
    case DialogItemKind::DropDownList: return makeDropDownList(parent, r, geometry);
    case DialogItemKind::VerticalTrackbar: return makeTrackbar(parent);
    case DialogItemKind::CheckBox: return new QCheckBox(item.text, &parent);
  }
  return nullptr;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font, const std::vector<DialogItem>& items) {
  const QFontMetrics metrics(font);
  const int letters = sizeof kAlphabet - 1;
  averageCharWidth = (metrics.horizontalAdvance(QLatin1String(kAlphabet)) + letters / 2) / letters;
  lineHeight = metrics.height();
  for (const DialogItem& item : items) {
    const bool isStatic = item.kind == DialogItemKind::StaticLeft || item.kind == DialogItemKind::StaticRight;
    if (!isStatic || item.width <= 0) continue;
    while (scaled(item.width, averageCharWidth, 4) < metrics.horizontalAdvance(item.text)) ++averageCharWidth;
  }
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const {
  return QRect(scaled(x, averageCharWidth, 4), scaled(y, lineHeight, 8),
               scaled(width, averageCharWidth, 4), scaled(height, lineHeight, 8));
}

QString controlName(int id) { return QStringLiteral("control%1").arg(id); }

QWidget* findControl(const QWidget& parent, int id) {
  return parent.findChild<QWidget*>(controlName(id));
}

void buildDialogItems(QWidget& parent, const std::vector<DialogItem>& items, const DialogUnits& units) {
  for (const DialogItem& item : items) {
    const QRect r = units.toPixels(item.x, item.y, item.width, item.height);
    QRect geometry = r;
    QWidget* widget = makeItem(parent, item, r, geometry);
    if (item.id != kNoControlId) widget->setObjectName(controlName(item.id));
    widget->setGeometry(geometry);
  }
}

int addSortedItem(QComboBox& list, const QString& text) {
  int index = 0;
  while (index < list.count() && list.itemText(index).compare(text, Qt::CaseInsensitive) <= 0)
    ++index;
  list.insertItem(index, text);
  return index;
}
