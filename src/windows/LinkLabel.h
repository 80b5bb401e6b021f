#pragma once

#include <QLabel>

// A link line: a label the keyboard reaches with Tab and opens with Enter or Space, which a
// screen reader finds as a link it can press. The mouse is left to the window that shows it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Opens the link as a click would.
    void activate();

signals:
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
