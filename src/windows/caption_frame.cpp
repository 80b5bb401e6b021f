#include "windows/CaptionFrame.h"

#include "windows/Twips.h"

#include <QPainter>

namespace {

// The caption's box, in twips from the frame's top-left corner: where a title check box lies.
constexpr int kCaptionLeft = 240;
constexpr int kCaptionHeight = 255;
constexpr int kCaptionPadding = 2; // pixels of background either side of the text

} // namespace

CaptionFrame::CaptionFrame(const QString& caption, QWidget* parent)
    : QGroupBox(parent), caption_(caption) {
    // Styles draw the line of a frame with a title lower, below the title's height.
    setAccessibleName(caption);
}

void CaptionFrame::paintEvent(QPaintEvent* event) {
    QGroupBox::paintEvent(event);
    QPainter painter(this);
    const int width = fontMetrics().horizontalAdvance(caption_) + 2 * kCaptionPadding;
    const QRect box(Twips::toPixels(kCaptionLeft), 0, width, Twips::toPixels(kCaptionHeight));
    painter.fillRect(box, palette().window());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(box.adjusted(kCaptionPadding, 0, -kCaptionPadding, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, caption_);
}
