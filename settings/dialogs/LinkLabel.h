#pragma once
// A label that acts on a click of the left mouse button, shown with a hand cursor.

#include <QLabel>

class TLinkLabel final : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(const QString& text, QWidget* parent);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
