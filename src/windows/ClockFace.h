#pragma once

#include <QPixmap>
#include <QWidget>

// The clock window's client area: black, with the skin's body picture drawn from the top-left
// corner at its own size when there is one.
class ClockFace : public QWidget {
    Q_OBJECT
public:
    explicit ClockFace(QWidget* parent = nullptr);

    QPixmap background() const { return background_; }
    void setBackground(const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap background_;
};
