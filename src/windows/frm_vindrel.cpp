#include "windows/frmVINDREL.h"

#include "windows/MouseArguments.h"
#include "windows/Twips.h"

#include "core/ClockText.h"
#include "core/WindowPlacement.h"
#include "platform/PlatformLog.h"
#include "resources/BuiltinPictures.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

constexpr int kClientWidth = 100;
constexpr int kClientHeight = 58;
constexpr int kBorder = 1;
// How long after start-up, or after the Options dialog closed, the clock gives back the pages it
// used only for them: by then the skin is on, its sounds ready and the audio output up.
constexpr int kSettledAfterMs = 5000;
const QColor kBorderColour(0x5a, 0x5a, 0x5a);

struct LabelDesign {
    const char* name;
    QRect twips;
    const char* text;
    int pixelSize;
    bool bold;
    QColor colour;
    Qt::Alignment alignment;
    const char* toolTip;
};

// Label is DigitLabel for texts of digits, full stops and signs, QLabel otherwise.
template <typename Label> Label* makeLabel(QWidget* parent, const LabelDesign& d) {
    auto* label = new Label(QString::fromLatin1(d.text), parent);
    label->setObjectName(QString::fromLatin1(d.name));
    const QRect box = Twips::rect(d.twips.x(), d.twips.y(), d.twips.width(), d.twips.height());
    // A fixed size tells Qt that a new text cannot change the label's geometry, so setting one
    // asks for no layout pass on the face, only a repaint.
    label->setFixedSize(box.size());
    label->move(box.topLeft());
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(d.alignment | Qt::AlignVCenter);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(d.pixelSize);
    font.setBold(d.bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, d.colour);
    label->setPalette(palette);
    if (d.toolTip != nullptr) {
        label->setToolTip(QString::fromLatin1(d.toolTip));
        label->setAccessibleDescription(QString::fromLatin1(d.toolTip));
    }
    return label;
}

// Where clients may not place their own windows, a drag is handed to the compositor.
bool windowSystemMovesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void setTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text)
        label->setText(text);
}

} // namespace

frmVINDREL::frmVINDREL(VD_Core::Core& core, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), core_(core) {
    setObjectName(QStringLiteral("frmVINDREL"));
    setWindowTitle(QStringLiteral("Vindrel"));
    setWindowIcon(Builtin::windowIcon());
    setFixedSize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
    createControls();
    createMenu();
    core_.attachWindow(this);
    Form_Load();
    keepQuartzInStep();
    watchScreens();
}

frmVINDREL::~frmVINDREL() {
    // An Options dialog still open when the program ends goes with the clock.
    delete options_;
    core_.attachWindow(nullptr);
}

void frmVINDREL::createControls() {
    face = new ClockFace(this);
    face->setObjectName(QStringLiteral("face"));
    face->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);

    btLogo = new PictureBox(face);
    btLogo->setObjectName(QStringLiteral("btLogo"));
    btLogo->setGeometry(Twips::rect(0, 0, 1500, 210));
    btLogo->setPicture(Builtin::titlePicture());
    btLogo->installEventFilter(this);
    btLogo->setAccessibleName(QStringLiteral("Vindrel"));
    btLogo->setAccessibleDescription(
        QStringLiteral("Drag it with the left mouse button to move the clock. The right mouse "
                       "button, the Menu key or Shift+F10 opens the clock's menu."));
    // The only control that does anything takes the focus when the clock becomes active, so a
    // screen reader says what it does; a click leaves the focus alone.
    btLogo->setFocusPolicy(Qt::TabFocus);

    const QColor white(0xff, 0xff, 0xff);
    const QColor silver(0xc0, 0xc0, 0xc0);
    lblTIME = makeLabel<DigitLabel>(
        face,
        {"lblTIME", {150, 300, 1200, 255}, "0.00.00", 13, true, white, Qt::AlignHCenter, nullptr});
    lblZONE = makeLabel<DigitLabel>(
        face,
        {"lblZONE", {1110, 210, 375, 255}, "+00", 11, false, white, Qt::AlignRight, "Time Zone"});
    lblPASS = makeLabel<DigitLabel>(face, {"lblPASS",
                                           {360, 600, 795, 255},
                                           "0.00",
                                           13,
                                           true,
                                           silver,
                                           Qt::AlignHCenter,
                                           "Power On Time"});
    lblDAY = makeLabel<QLabel>(face, {"lblDAY",
                                      {1270, 650, 375, 255},
                                      "Mo",
                                      11,
                                      false,
                                      white,
                                      Qt::AlignLeft,
                                      "Day of the Week"});

    // The labels that change paint the face behind them themselves: a new second then repaints
    // the digits alone, not the face beneath them first.
    for (DigitLabel* label : {lblTIME, lblPASS})
        label->setBackdrop([this, label](QPainter& painter, const QRect& area) {
            face->paintBackground(painter, area, -label->pos());
        });

    imgALM = new PictureBox(face);
    imgALM->setObjectName(QStringLiteral("imgALM"));
    imgALM->setGeometry(Twips::rect(0, 600, 240, 240));
    imgALM->setPicture(Builtin::alarmPicture());

    Quartz = new QTimer(this);
    Quartz->setObjectName(QStringLiteral("Quartz"));
    Quartz->setTimerType(Qt::PreciseTimer);
    connect(Quartz, &QTimer::timeout, this, [this] {
        Quartz_Timer();
        keepQuartzInStep();
    });

    settled_ = new QTimer(this);
    settled_->setSingleShot(true);
    settled_->setInterval(kSettledAfterMs);
    connect(settled_, &QTimer::timeout, this, [this] { core_.desktop().releaseUnusedFilePages(); });
}

void frmVINDREL::createMenu() {
    mnuPOPUP = new QMenu(QStringLiteral("PopUpMenu"), this);
    mnuPOPUP->setObjectName(QStringLiteral("mnuPOPUP"));
    mnuOPTIONS = mnuPOPUP->addAction(QStringLiteral("&Options"));
    mnuOPTIONS->setObjectName(QStringLiteral("mnuOPTIONS"));
    connect(mnuOPTIONS, &QAction::triggered, this, &frmVINDREL::mnuOPTIONS_Click);
    mnuPOPUP->addSeparator()->setObjectName(QStringLiteral("Z_sep01"));
    mnuEND = mnuPOPUP->addAction(QStringLiteral("&Quit"));
    mnuEND->setObjectName(QStringLiteral("mnuEND"));
    connect(mnuEND, &QAction::triggered, this, &frmVINDREL::mnuEND_Click);
}

void frmVINDREL::Form_Load() {
    core_.KeepBuiltInPictures();

    const Platform::SystemClock& clock = core_.clock();
    const QLocale locale;
    const QDateTime now = clock.now();
    lblTIME->setText(VD_Core::startupTimeText(now.time(), locale));
    tick_.PowerOnSeconds = VD_Core::powerOnSeconds(clock.tickCount());
    lblPASS->setText(VD_Core::passText(tick_.PowerOnSeconds));
    lblDAY->setText(VD_Core::dayText(now.date(), locale));
    lblZONE->setText(VD_Core::zoneText(clock.standardBiasMinutes()));

    // Places the window at its stored position before it is first shown.
    core_.EnsureSettings();
    core_.LoadSettings();
    bringBackIfLost();

    core_.LoadSkinAtStart();
    setAlarmIndicatorVisible(core_.settings().alarmsOn());
}

void frmVINDREL::Form_Activate() {
    core_.SetOnTop();
}

void frmVINDREL::btLogo_MouseDown(int button, int, float x, float y) {
    if (button == 1) {
        if (windowSystemMovesWindows()) {
            windowHandle()->startSystemMove();
            return;
        }
        Dragging = true;
        DragStartX = x;
        DragStartY = y;
        btLogo->grabMouse();
    } else if (button == 2) {
        PopupMenu(QCursor::pos());
    }
}

void frmVINDREL::btLogo_MouseMove(int, int, float x, float y) {
    if (!Dragging)
        return;
    moveToTwips(leftTwips() + x - DragStartX, topTwips() + y - DragStartY);
}

void frmVINDREL::btLogo_MouseUp(int, int, float, float) {
    btLogo->releaseMouse();
    Dragging = false;
}

void frmVINDREL::PopupMenu(const QPoint& at) {
    mnuPOPUP->exec(at);
}

void frmVINDREL::popupMenuFromKeyboard() {
    // Under the title strip, where the mouse would open it.
    PopupMenu(btLogo->mapToGlobal(QPoint(0, btLogo->height())));
}

void frmVINDREL::mnuOPTIONS_Click() {
    if (options_.isNull()) {
        options_ = new frmSETS(core_);
        options_->setAttribute(Qt::WA_DeleteOnClose);
        connect(options_, &QObject::destroyed, settled_, qOverload<>(&QTimer::start));
    }
    options_->show();
    options_->raise();
    options_->activateWindow();
}

void frmVINDREL::mnuEND_Click() {
    core_.SaveSettings();
    Quartz->stop();
    hide();
    emit programEnded();
}

void frmVINDREL::Quartz_Timer() {
    const Platform::SystemClock& clock = core_.clock();
    const VD_Core::TickResult result =
        VD_Core::RunTick(core_, clock.now(), clock.tickCount(), tick_, QLocale());
    showTick(result.display);
    for (const QString& path : result.sounds)
        core_.sound().play(path);
}

void frmVINDREL::showTick(const VD_Core::TickDisplay& display) {
    lblTIME->changeText(display.time);
    if (lblTIME->toolTip() != display.date) {
        lblTIME->setToolTip(display.date);
        lblTIME->setAccessibleDescription(display.date);
    }
    setTextIfChanged(lblDAY, display.day);
    lblPASS->changeText(display.pass);
}

void frmVINDREL::keepQuartzInStep() {
    // A timer started at any moment would show each new second up to half a second late.
    // Zone offsets are whole seconds, so the UTC count has the local time's milliseconds.
    const auto intoHalfSecond =
        static_cast<int>(core_.clock().epochMilliseconds() % VD_Core::kQuartzIntervalMs);
    const std::optional<int> restart = VD_Core::quartzRestart(
        intoHalfSecond, {Quartz->isActive(), Quartz->interval(), Quartz->remainingTime()});
    if (restart)
        Quartz->start(*restart);
}

bool frmVINDREL::applyTopmost(bool on) {
    return core_.desktop().setTopmost(windowHandle(), on);
}

double frmVINDREL::leftTwips() const {
    return Twips::fromPixels(x());
}

double frmVINDREL::topTwips() const {
    return Twips::fromPixels(y());
}

void frmVINDREL::moveToTwips(double left, double top) {
    move(Twips::toPixels(left), Twips::toPixels(top));
}

QPixmap frmVINDREL::titlePicture() const {
    return btLogo->picture();
}

void frmVINDREL::setTitlePicture(const QPixmap& picture) {
    btLogo->setPicture(picture);
}

QPixmap frmVINDREL::alarmPicture() const {
    return imgALM->picture();
}

void frmVINDREL::setAlarmPicture(const QPixmap& picture) {
    imgALM->setPicture(picture);
}

void frmVINDREL::setBackgroundPicture(const QPixmap& picture) {
    face->setBackground(picture);
}

void frmVINDREL::setAlarmIndicatorVisible(bool visible) {
    imgALM->setVisible(visible);
    // A screen reader lists hidden controls too: the indicator speaks only while it is shown.
    imgALM->setAccessibleName(visible ? QStringLiteral("Alarms enabled") : QString());
}

bool frmVINDREL::eventFilter(QObject* watched, QEvent* event) {
    if (watched == btLogo && logoMouseEvent(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool frmVINDREL::logoMouseEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    const MouseArguments m = mouseArguments(*static_cast<QMouseEvent*>(event));
    // A second press soon after the first comes as a double click, and is a press all the same:
    // the menu opens again, a drag starts again.
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        btLogo_MouseDown(m.button, m.shift, m.x, m.y);
    else if (type == QEvent::MouseMove)
        btLogo_MouseMove(m.button, m.shift, m.x, m.y);
    else
        btLogo_MouseUp(m.button, m.shift, m.x, m.y);
    return true;
}

void frmVINDREL::watchScreens() {
    // A burst of screen changes (one unplugged, another made primary) is looked at once.
    screensChanged_ = new QTimer(this);
    screensChanged_->setSingleShot(true);
    screensChanged_->setInterval(0);
    connect(screensChanged_, &QTimer::timeout, this, &frmVINDREL::bringBackIfLost);
    const auto watch = [this](QScreen* screen) {
        connect(screen, &QScreen::geometryChanged, screensChanged_, qOverload<>(&QTimer::start));
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    auto* app = qGuiApp;
    connect(app, &QGuiApplication::screenAdded, this, [this, watch](QScreen* screen) {
        watch(screen);
        screensChanged_->start();
    });
    connect(app, &QGuiApplication::screenRemoved, screensChanged_, qOverload<>(&QTimer::start));
}

void frmVINDREL::bringBackIfLost() {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->geometry());
    const QRect strip(face->pos() + btLogo->pos(), btLogo->size());
    const std::optional<QPoint> back = VD_Core::rescuedPosition(pos(), size(), strip, screens);
    if (!back)
        return;
    qCInfo(lcPlatform) << "the clock at" << pos()
                       << "had no part of its title strip on a screen; moved it to" << *back;
    move(*back);
}

void frmVINDREL::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse opens the menu from the title strip alone; this is the keyboard's way.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    popupMenuFromKeyboard();
}

void frmVINDREL::keyPressEvent(QKeyEvent* event) {
    // Under X11 only the Menu key comes as a request for a context menu; Shift+F10, the other
    // key for it, comes as a key. (Windows makes a request of both, and then no key arrives.)
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        if (!event->isAutoRepeat())
            popupMenuFromKeyboard();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmVINDREL::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
    QWidget::changeEvent(event);
}

void frmVINDREL::showEvent(QShowEvent* event) {
    // Without a window manager the window may never be activated; apply the stacking once.
    if (!shownOnce_) {
        shownOnce_ = true;
        Form_Activate();
        settled_->start();
    }
    QWidget::showEvent(event);
}

void frmVINDREL::closeEvent(QCloseEvent* event) {
    // Closed by the window system rather than "&Quit": the program ends without saving.
    Quartz->stop();
    event->accept();
    emit programEnded();
}

void frmVINDREL::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(kBorderColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
