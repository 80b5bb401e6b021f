#include <DigitLabel.h>

#include <QImage>
#include <QLabel>

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

// Both labels over the same black face, so that what shows through is compared too.
QImage drawn(QLabel& label, const DrawCase& c) {
    QWidget face;
    face.setAutoFillBackground(true);
    QPalette background = face.palette();
    background.setColor(QPalette::Window, Qt::black);
    face.setPalette(background);
    face.resize(100, 30);
    label.setParent(&face);
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
    QImage image = face.grab().toImage();
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

} // namespace
