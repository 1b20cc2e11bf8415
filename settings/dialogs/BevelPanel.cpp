#include "settings/dialogs/BevelPanel.h"

#include <QPainter>
#include <qdrawutil.h>

TBevelPanel::TBevelPanel(QWidget* parent) : QWidget(parent) {}

void TBevelPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    // The style's own panels are flat in some styles; these lines are drawn whatever the style.
    qDrawShadePanel(&painter, rect(), palette(), true, 1);
    qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
}
