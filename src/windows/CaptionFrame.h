#pragma once

#include <QGroupBox>

// A frame with a caption over its top line, where a check box serving as another frame's title
// lies. The frame itself is drawn as one without a title, so frames of the same box line up.
class CaptionFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit CaptionFrame(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};
