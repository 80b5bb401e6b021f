#include "windows/LinkLabel.h"

#include "windows/AccessibleFactory.h"
#include "windows/DialogLook.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

namespace {

// What a screen reader finds: a link, named by the label unless told otherwise, that it can
// press. Made only when a reader asks.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && link()->accessibleName().isEmpty())
            return link()->text();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction())
            link()->activate();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }
};

} // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    installAccessibleInterface<LinkLabel, LinkAccessible>();
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::activate() {
    emit activated();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    DialogLook::revealFocusCue(*this);
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        if (!event->isAutoRepeat())
            activate();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter painter(this);
    const QRect textBox =
        style()->itemTextRect(fontMetrics(), contentsRect(), int(alignment()), true, text());
    DialogLook::drawFocusCue(painter, *this, textBox & rect());
}
