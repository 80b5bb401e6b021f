#pragma once

#include "windows/ClockFace.h"
#include "windows/DigitLabel.h"
#include "windows/PictureBox.h"
#include "windows/frmSETS.h"

#include "core/ClockWindow.h"
#include "core/Tick.h"
#include "core/VD_Core.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// The clock: a 100 x 58 pixel face in a one-pixel border, without a title bar, dragged by its
// title strip and driven by a half-second tick.
class frmVINDREL : public QWidget, public VD_Core::ClockWindow {
    Q_OBJECT
public:
    // Creates the controls with their design values and runs Form_Load.
    explicit frmVINDREL(VD_Core::Core& core, QWidget* parent = nullptr);
    ~frmVINDREL() override;

    void Form_Activate();
    // Button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in twips.
    void btLogo_MouseDown(int button, int shift, float x, float y);
    void btLogo_MouseMove(int button, int shift, float x, float y);
    void btLogo_MouseUp(int button, int shift, float x, float y);
    void mnuOPTIONS_Click();
    void mnuEND_Click();
    void Quartz_Timer();
    // Run after each tick: keeps the ticks just after the clock's whole and half seconds.
    void keepQuartzInStep();

    const VD_Core::TickState& tickState() const { return tick_; }
    frmSETS* options() const { return options_; }
    bool dragging() const { return Dragging; }

    // ClockWindow
    bool applyTopmost(bool on) override;
    double leftTwips() const override;
    double topTwips() const override;
    void moveToTwips(double left, double top) override;
    QPixmap titlePicture() const override;
    void setTitlePicture(const QPixmap& picture) override;
    QPixmap alarmPicture() const override;
    void setAlarmPicture(const QPixmap& picture) override;
    void setBackgroundPicture(const QPixmap& picture) override;
    void setAlarmIndicatorVisible(bool visible) override;

    ClockFace* face = nullptr;
    PictureBox* btLogo = nullptr;
    DigitLabel* lblTIME = nullptr;
    DigitLabel* lblZONE = nullptr;
    DigitLabel* lblPASS = nullptr;
    QLabel* lblDAY = nullptr;
    PictureBox* imgALM = nullptr;
    QTimer* Quartz = nullptr;
    QMenu* mnuPOPUP = nullptr;
    QAction* mnuOPTIONS = nullptr;
    QAction* mnuEND = nullptr;

signals:
    // "&Quit" has saved everything; the program ends.
    void programEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void createMenu();
    void Form_Load();
    void PopupMenu(const QPoint& at);
    void popupMenuFromKeyboard();
    void showTick(const VD_Core::TickDisplay& display);
    bool logoMouseEvent(QEvent* event);
    void watchScreens();
    // Moves the window onto the nearest screen when its title strip is on none; stores nothing.
    void bringBackIfLost();

    VD_Core::Core& core_;
    VD_Core::TickState tick_;
    bool Dragging = false;
    float DragStartX = 0;
    float DragStartY = 0;
    bool shownOnce_ = false;
    QTimer* settled_ = nullptr; // lets go of what start-up or a closed dialog left mapped
    QPointer<frmSETS> options_;
    QTimer* screensChanged_ = nullptr;
};
