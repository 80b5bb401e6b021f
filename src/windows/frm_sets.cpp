#include "windows/frmSETS.h"

#include "windows/CaptionFrame.h"
#include "windows/DialogLook.h"
#include "windows/Twips.h"
#include "windows/btABOUT.h"
#include "windows/frmALM.h"

#include "core/AlarmEditing.h"
#include "core/Maker.h"
#include "core/SkinCatalog.h"

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

const QString kAlarms = QStringLiteral("Alarms");

const QString kFullTableTip =
    QStringLiteral("The clock keeps at most %1 alarms: delete one to make room.")
        .arg(VD_Core::Alarms::kCapacity);

// The alarm controls are greyed out while alarms are off; a first user needs to know why.
const QString kAlarmsOffTip = QStringLiteral("Tick \"Enable Alarm\" to make and change alarms.");

// Sets one slot of a slot array, growing it as needed: every valid skin file gets a slot.
void setSlot(QStringList& table, int slot, const QString& text) {
    while (table.size() <= slot)
        table.append(QString());
    table[slot] = text;
}

} // namespace

frmSETS::frmSETS(VD_Core::Core& core, QWidget* parent)
    : CentredDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                Qt::CustomizeWindowHint),
      core_(core) {
    setObjectName(QStringLiteral("frmSETS"));
    setWindowTitle(QStringLiteral("Brambleton Vindrel"));
    setFont(DialogLook::font());
    setFixedSize(Twips::size(6360, 2625));
    createControls();
    connectHandlers();
    Form_Load();
}

void frmSETS::createControls() {
    createAlarmGroup();
    createSkinGroup();

    chkSIG = makeCheckBox(this, "chkSIG", "Hour Signal");
    Twips::place(chkSIG, 120, 2160, 1020, 375);
    chkONTOP = makeCheckBox(this, "chkONTOP", "Al&ways On Top");
    Twips::place(chkONTOP, 2160, 2280, 1455, 255);
    for (QCheckBox* box : {chkSIG, chkONTOP, chkALM})
        DialogLook::fitWidth(*box);

    btnCOM[0] = makeButton(this, QStringLiteral("btnCOM0"), QStringLiteral("&Ok"));
    Twips::place(btnCOM[0], 5400, 2160, 855, 375);
    btnCOM[1] = makeButton(this, QStringLiteral("btnCOM1"), QStringLiteral("A&bout"));
    Twips::place(btnCOM[1], 4440, 2160, 855, 375);

    setTabOrder(btnCOM[0], chkONTOP);
    setTabOrder(chkONTOP, chkSIG);
    setTabOrder(chkSIG, chkALM);
    setTabOrder(chkALM, lstALM);
    setTabOrder(lstALM, btnALM[0]);
    setTabOrder(btnALM[0], btnALM[1]);
    setTabOrder(btnALM[1], btnALM[2]);
    setTabOrder(btnALM[2], lstSKIN);
    setTabOrder(lstSKIN, btnSKIN[0]);
    setTabOrder(btnSKIN[0], btnSKIN[1]);
    setTabOrder(btnSKIN[1], btnSKIN[2]);
    setTabOrder(btnSKIN[2], btnCOM[1]);
    btnCOM[0]->setFocus();
}

void frmSETS::createAlarmGroup() {
    corDISP[0] = new QGroupBox(this);
    corDISP[0]->setObjectName(QStringLiteral("corDISP0"));
    // The check box over the frame is its title; a screen reader is told what the group holds.
    corDISP[0]->setAccessibleName(kAlarms);
    Twips::place(corDISP[0], 120, 120, 3015, 1935);

    lstALM = new SelectedList(corDISP[0]);
    lstALM->setObjectName(QStringLiteral("lstALM"));
    lstALM->setAccessibleName(kAlarms);
    lstALM->setAccessibleDescription(QStringLiteral("Usable while Enable Alarm is ticked"));
    Twips::place(lstALM, 120, 360, 1935, 1425);

    const char* captions[] = {"&New", "&Edit", "&Delete"};
    for (int i = 0; i < 3; ++i) {
        btnALM[i] = makeButton(corDISP[0], QStringLiteral("btnALM%1").arg(i),
                               QString::fromLatin1(captions[i]));
        Twips::place(btnALM[i], 2160, 360 + 480 * i, 735, 375);
    }

    // The check box lies over the frame's top edge and serves as its title.
    chkALM = makeCheckBox(this, "chkALM", "Enable Alarm");
    chkALM->setAutoFillBackground(true);
    Twips::place(chkALM, 360, 120, 1245, 255);
    chkALM->raise();
}

void frmSETS::createSkinGroup() {
    auto* frame = new CaptionFrame(QStringLiteral("Skins"), this);
    corDISP[1] = frame;
    corDISP[1]->setObjectName(QStringLiteral("corDISP1"));
    Twips::place(corDISP[1], 3240, 120, 3015, 1935);

    lstSKIN = new SelectedList(corDISP[1]);
    lstSKIN->setObjectName(QStringLiteral("lstSKIN"));
    lstSKIN->setAccessibleName(frame->caption());
    lstSKIN->setAccessibleDescription(
        QStringLiteral("The skin selected is put on the clock at once"));
    Twips::place(lstSKIN, 120, 360, 1935, 1230);

    lblAUTHOR = new QLabel(corDISP[1]);
    lblAUTHOR->setObjectName(QStringLiteral("lblAUTHOR"));
    lblAUTHOR->setTextFormat(Qt::PlainText);
    Twips::place(lblAUTHOR, 120, 1630, 2775, 255);

    const char* captions[] = {"&Refresh", "&Signal", "&Alarm"};
    const int tops[] = {360, 840, 1200};
    const int heights[] = {375, 255, 255};
    for (int i = 0; i < 3; ++i) {
        btnSKIN[i] = makeButton(corDISP[1], QStringLiteral("btnSKIN%1").arg(i),
                                QString::fromLatin1(captions[i]));
        Twips::place(btnSKIN[i], 2160, tops[i], 735, heights[i]);
    }
}

void frmSETS::connectHandlers() {
    connect(chkALM, &QCheckBox::toggled, this, &frmSETS::chkALM_Click);
    connect(chkSIG, &QCheckBox::toggled, this, &frmSETS::chkSIG_Click);
    connect(chkONTOP, &QCheckBox::toggled, this, &frmSETS::chkONTOP_Click);
    for (int i = 0; i < 3; ++i)
        connect(btnALM[i], &QPushButton::clicked, this, [this, i] { btnALM_Click(i); });
    for (int i = 0; i < 2; ++i)
        connect(btnCOM[i], &QPushButton::clicked, this, [this, i] { btnCOM_Click(i); });
    connect(lstSKIN, &QListWidget::currentRowChanged, this, &frmSETS::lstSKIN_Click);
    for (int i = 0; i < 3; ++i)
        connect(btnSKIN[i], &QPushButton::clicked, this, [this, i] { btnSKIN_Click(i); });
}

void frmSETS::Form_Load() {
    chkSIG->setChecked(core_.settings().hourSignalOn());
    chkALM->setChecked(core_.settings().alarmsOn());
    chkONTOP->setChecked(core_.settings().onTop());
    AlmListRefresh();
    AlmEnabler();
    SkinListRefresh();
}

void frmSETS::AlmEnabler() {
    const VD_Core::AlarmEditing::AlarmGroupState state = VD_Core::AlarmEditing::alarmGroupState(
        chkALM->isChecked(), lstALM->count(), core_.alarms().full());
    lstALM->setEnabled(state.list);
    btnALM[0]->setEnabled(state.newButton);
    btnALM[1]->setEnabled(state.editAndDelete);
    btnALM[2]->setEnabled(state.editAndDelete);
    const QString offTip = chkALM->isChecked() ? QString() : kAlarmsOffTip;
    lstALM->setToolTip(offTip);
    btnALM[0]->setToolTip(core_.alarms().full() && offTip.isEmpty() ? kFullTableTip : offTip);
    btnALM[1]->setToolTip(offTip);
    btnALM[2]->setToolTip(offTip);
    if (state.selectFirstLine)
        lstALM->setCurrentRow(0);
    core_.SetAlarmsEnabled(chkALM->isChecked());
}

void frmSETS::AlmListRefresh() {
    lstALM->clear();
    const int count = std::min<int>(core_.alarms().AlarmCount, VD_Core::Alarms::kCapacity);
    for (int i = 1; i <= count; ++i) {
        auto* line = new QListWidgetItem(core_.alarms()[i].Name, lstALM);
        line->setData(Qt::UserRole, i);
    }
    if (lstALM->count() > 0)
        lstALM->setCurrentRow(0);
}

void frmSETS::chkALM_Click() {
    AlmEnabler();
}

void frmSETS::chkSIG_Click() {
    core_.SetHourSignal(chkSIG->isChecked());
}

void frmSETS::chkONTOP_Click() {
    core_.SetAlwaysOnTop(chkONTOP->isChecked());
}

void frmSETS::btnALM_Click(int index) {
    const QListWidgetItem* line = lstALM->currentItem();
    const int entry = line != nullptr ? line->data(Qt::UserRole).toInt() : 0;
    switch (index) {
    case 0:
        openEditor(0);
        break;
    case 1:
        if (entry > 0)
            openEditor(entry);
        break;
    case 2:
        if (entry > 0) {
            core_.RemoveAlarm(entry);
            AlmListRefresh();
            AlmEnabler();
        }
        break;
    default:
        break;
    }
}

// Opens the alarm editor modal: for a new alarm when `entry` is 0, else on that entry.
void frmSETS::openEditor(int entry) {
    frmALM editor(core_, entry == 0 ? std::nullopt : std::optional<int>(entry), this);
    connect(&editor, &frmALM::alarmStored, this, [this] {
        AlmListRefresh();
        AlmEnabler();
    });
    editor.exec();
    takeBackTheFocus();
}

void frmSETS::takeBackTheFocus() {
    // A window manager may hand the focus to the clock when a box over this dialog closes; the
    // keyboard goes on here, where it was.
    activateWindow();
}

void frmSETS::btnCOM_Click(int index) {
    if (index == 1) {
        btABOUT about(core_, this);
        about.exec();
        takeBackTheFocus();
        return;
    }
    if (index != 0)
        return;
    core_.ConfirmOptions();
    close();
}

void frmSETS::SkinListRefresh() {
    int selected = 0;
    {
        // Building the list selects nothing; the selection is made once it is complete.
        const QSignalBlocker quiet(lstSKIN);
        lstSKIN->clear();
        lstSKIN->addItem(QStringLiteral("<Default>"));
        lstSKIN->item(0)->setData(Qt::UserRole, 0);
        setSlot(SkinAuthors, 0, VD_Core::Maker::kCreditLine);
        setSlot(SkinPaths, 0, QString());
        for (const VD_Core::SkinListing& skin : core_.skinList()) {
            auto* line = new QListWidgetItem(skin.name, lstSKIN);
            const int k = lstSKIN->count() - 1;
            line->setData(Qt::UserRole, k);
            setSlot(SkinPaths, k, skin.path);
            setSlot(SkinAuthors, k, skin.author);
            if (skin.path == core_.settings().UsedSkinPath)
                selected = k;
        }
        lstSKIN->setCurrentRow(-1);
    }
    lstSKIN->setCurrentRow(selected);
}

void frmSETS::lstSKIN_Click() {
    const QListWidgetItem* line = lstSKIN->currentItem();
    if (line == nullptr)
        return;
    const int slot = line->data(Qt::UserRole).toInt();
    lblAUTHOR->setText(SkinAuthors.value(slot));
    // Reopening the dialog or a refresh selects the skin in use, which keeps its pictures.
    core_.UseSkin(SkinPaths.value(slot));
}

void frmSETS::btnSKIN_Click(int index) {
    if (index == 0) {
        SkinListRefresh();
        return;
    }
    if (index != 1 && index != 2)
        return;
    lstSKIN->setFocus();
    const VD_Core::Skin& skin = core_.skin();
    core_.sound().play(index == 1 ? skin.HourSoundPath : skin.AlarmSoundPath);
}
