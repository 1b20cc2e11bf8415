#pragma once
// A panel framed by two bevels, lowered outside and raised inside, that holds other controls.

#include <QWidget>

class TBevelPanel final : public QWidget {
    Q_OBJECT
public:
    explicit TBevelPanel(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
