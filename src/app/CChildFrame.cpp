#include "app/CChildFrame.h"

#include <QIcon>

CChildFrame::CChildFrame() { setWindowIcon(QIcon(QStringLiteral(":/icons/document.xpm"))); }
