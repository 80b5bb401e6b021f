#include "windows/DigitLabel.h"

#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct DrawCase {
    const char* text;
    Qt::Alignment alignment;
    int pixelSize;
    bool bold;
};

void PrintTo(const DrawCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

// A label on a black face, so that what shows through is compared too.
struct Face {
    QWidget widget;

    Face() {
        widget.setAutoFillBackground(true);
        QPalette background = widget.palette();
        background.setColor(QPalette::Window, Qt::black);
        widget.setPalette(background);
        widget.resize(100, 30);
    }

    void hold(QLabel& label, const DrawCase& c) {
        label.setParent(&widget);
        label.setGeometry(10, 6, 80, 17);
        label.setText(QString::fromLatin1(c.text));
        label.setAlignment(c.alignment | Qt::AlignVCenter);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(c.pixelSize);
        font.setBold(c.bold);
        label.setFont(font);
        QPalette palette = label.palette();
        palette.setColor(QPalette::WindowText, QColor(0xc0, 0xc0, 0xc0));
        label.setPalette(palette);
    }

    // Painted afresh, every widget whole.
    QImage drawn() { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // What the window shows after the repaints it was asked for.
    QImage shown() {
        QCoreApplication::sendPostedEvents();
        return widget.screen()
            ->grabWindow(widget.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
};

QImage drawn(QLabel& label, const DrawCase& c) {
    Face face;
    face.hold(label, c);
    QImage image = face.drawn();
    label.setParent(nullptr);
    return image;
}

class DigitLabelTest : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DigitLabelTest, DrawsTheSamePixelsAsAPlainLabel) {
    QLabel plain;
    DigitLabel digits;
    EXPECT_EQ(drawn(digits, GetParam()), drawn(plain, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Texts, DigitLabelTest,
                         ::testing::Values(DrawCase{"0.00.05", Qt::AlignHCenter, 13, true},
                                           DrawCase{"23.59.59", Qt::AlignHCenter, 13, true},
                                           DrawCase{"11.11.11", Qt::AlignHCenter, 13, true},
                                           DrawCase{"1193.02", Qt::AlignHCenter, 13, true},
                                           DrawCase{"21:05:30", Qt::AlignLeft, 11, false},
                                           DrawCase{"9.05.30", Qt::AlignRight, 11, false},
                                           DrawCase{"-05", Qt::AlignRight, 11, false},
                                           DrawCase{"+00", Qt::AlignRight, 11, false},
                                           DrawCase{"", Qt::AlignHCenter, 13, true},
                                           // Not digits: drawn by QLabel itself.
                                           DrawCase{"9:05:30 PM", Qt::AlignHCenter, 13, true}));

TEST(DigitLabel, FollowsAChangeOfFont) {
    QLabel plain;
    DigitLabel digits;
    drawn(digits, {"13.45.00", Qt::AlignHCenter, 13, true});
    EXPECT_EQ(drawn(digits, {"13.45.00", Qt::AlignHCenter, 11, false}),
              drawn(plain, {"13.45.00", Qt::AlignHCenter, 11, false}));
}

// Records the area of each repaint of a widget.
class PaintedAreas : public QObject {
public:
    QList<QRegion> areas;

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            areas << static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

class DigitLabelOnScreen : public ::testing::Test {
protected:
    Face face;
    DigitLabel label;
    PaintedAreas painted;

    void SetUp() override {
        face.hold(label, {"9.05.58", Qt::AlignHCenter, 13, true});
        face.widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&face.widget));
        face.shown();
        label.installEventFilter(&painted);
    }
};

TEST_F(DigitLabelOnScreen, ANewLastDigitRepaintsOnlyItsCorner) {
    label.changeText(QStringLiteral("9.05.59"));
    face.shown();
    ASSERT_EQ(painted.areas.size(), 1);
    const QRect area = painted.areas[0].boundingRect();
    EXPECT_LT(area.width(), label.width() / 4);
    EXPECT_GT(area.left(), label.width() / 2);
    EXPECT_EQ(label.text(), QStringLiteral("9.05.59"));
}

TEST_F(DigitLabelOnScreen, RepaintingOnlyWhatChangedShowsWhatAFullRepaintDraws) {
    for (const char* text : {"9.05.59", "9.06.00", "9.59.59", "10.00.00", "10.00.01", "9:05",
                             "11.11.11", "21:05:30 PM", "0.00.00", "1193.02"}) {
        label.changeText(QString::fromLatin1(text));
        EXPECT_EQ(face.shown(), face.drawn()) << text;
    }
}

// Qt moves an opaque widget by copying its pixels; a label painting what lies behind it must
// paint its new place's.
TEST_F(DigitLabelOnScreen, AMovedLabelShowsWhatLiesBehindItsNewPlace) {
    label.setBackdrop([this](QPainter& painter, const QRect& area) {
        painter.fillRect(area, label.x() == 10 ? Qt::darkRed : Qt::darkBlue);
    });
    face.shown();
    label.move(14, 6);
    EXPECT_EQ(face.shown(), face.drawn());
}

} // namespace
