#include "windows/frmALM.h"

#include "windows/DialogLook.h"
#include "windows/NumberFieldValidator.h"
#include "windows/Twips.h"

#include "core/AlarmEditing.h"

#include <QEvent>

#include <algorithm>

using namespace VD_Core::AlarmEditing;

namespace {

const QString kHour = QStringLiteral("Hour");
const QString kMinutes = QStringLiteral("Minutes");

Spinner* makeSpinner(QWidget* parent, const char* name, const QString& readerName, int last,
                     Spinner::Mapping numberAt, Spinner::Mapping positionOf) {
    auto* spinner = new Spinner(last, numberAt, positionOf, parent);
    spinner->setObjectName(QString::fromLatin1(name));
    spinner->setAccessibleName(readerName);
    return spinner;
}

QLineEdit* makeNumberField(QWidget* parent, const char* name, const QString& readerName,
                           const QString& text, int last) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setAccessibleName(readerName);
    field->setMaxLength(2);
    field->setValidator(new NumberFieldValidator(last, field));
    return field;
}

} // namespace

frmALM::frmALM(VD_Core::Core& core, std::optional<int> entry, QWidget* parent)
    : CentredDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                Qt::CustomizeWindowHint),
      core_(core), entry_(entry) {
    setObjectName(QStringLiteral("frmALM"));
    setFont(DialogLook::font());
    setFixedSize(Twips::size(3450, 1635));
    createControls();
    connectHandlers();
    Form_Load();
}

void frmALM::createControls() {
    lblDISP[1] = new QLabel(QStringLiteral("Name:"), this);
    lblDISP[1]->setObjectName(QStringLiteral("lblDISP1"));
    Twips::place(lblDISP[1], 120, 120, 615, 255);

    txtNAME = new QLineEdit(this);
    txtNAME->setObjectName(QStringLiteral("txtNAME"));
    Twips::place(txtNAME, 720, 120, 2535, 285);
    lblDISP[1]->setBuddy(txtNAME);

    createTimeControls();

    cbxDAY = new QComboBox(this);
    cbxDAY->setObjectName(QStringLiteral("cbxDAY"));
    cbxDAY->setAccessibleName(QStringLiteral("Day"));
    Twips::place(cbxDAY, 120, 840, 1335, 315);
    cbxMONTH = new QComboBox(this);
    cbxMONTH->setObjectName(QStringLiteral("cbxMONTH"));
    cbxMONTH->setAccessibleName(QStringLiteral("Month"));
    Twips::place(cbxMONTH, 120, 1200, 1335, 315);

    btnCOM[1] = new QPushButton(QStringLiteral("&Ok"), this);
    Twips::place(btnCOM[1], 2400, 600, 855, 375);
    btnCOM[1]->setEnabled(false);
    btnCOM[0] = new QPushButton(QStringLiteral("&Cancel"), this);
    Twips::place(btnCOM[0], 2400, 1080, 855, 375);
    for (int i = 0; i < 2; ++i) {
        btnCOM[i]->setObjectName(QStringLiteral("btnCOM%1").arg(i));
        btnCOM[i]->setAutoDefault(false);
    }

    vsbHOUR->setFocusPolicy(Qt::TabFocus);
    vsbMINS->setFocusPolicy(Qt::TabFocus);
    setTabOrder(txtNAME, txtHOUR);
    setTabOrder(txtHOUR, txtMINS);
    setTabOrder(txtMINS, cbxDAY);
    setTabOrder(cbxDAY, cbxMONTH);
    setTabOrder(cbxMONTH, btnCOM[1]);
    setTabOrder(btnCOM[1], btnCOM[0]);
    setTabOrder(btnCOM[0], vsbMINS);
    setTabOrder(vsbMINS, vsbHOUR);
    txtNAME->setFocus();
}

void frmALM::createTimeControls() {
    txtHOUR = makeNumberField(this, "txtHOUR", kHour, QStringLiteral("0"), kLastHour);
    Twips::place(txtHOUR, 120, 480, 375, 285);
    vsbHOUR = makeSpinner(this, "vsbHOUR", kHour, kLastHour, &hourAt, &hourPosition);
    Twips::place(vsbHOUR, 480, 480, 135, 270);

    lblDISP[0] = new QLabel(QStringLiteral(":"), this);
    lblDISP[0]->setObjectName(QStringLiteral("lblDISP0"));
    QFont colon(QStringLiteral("MS Sans Serif"));
    colon.setPixelSize(11);
    colon.setBold(true);
    lblDISP[0]->setFont(colon);
    lblDISP[0]->setAlignment(Qt::AlignCenter);
    Twips::place(lblDISP[0], 600, 480, 135, 255);

    txtMINS = makeNumberField(this, "txtMINS", kMinutes, QStringLiteral("00"), kLastMinute);
    Twips::place(txtMINS, 720, 480, 375, 285);
    vsbMINS = makeSpinner(this, "vsbMINS", kMinutes, kLastMinute, &minsAt, &minsPosition);
    Twips::place(vsbMINS, 1095, 480, 135, 270);

    for (QLineEdit* field : {txtHOUR, txtMINS})
        field->installEventFilter(this);
}

void frmALM::connectHandlers() {
    connect(txtNAME, &QLineEdit::textChanged, this, &frmALM::txtNAME_Change);
    connect(vsbHOUR, &QScrollBar::valueChanged, this, &frmALM::vsbHOUR_Change);
    connect(vsbMINS, &QScrollBar::valueChanged, this, &frmALM::vsbMINS_Change);
    connect(txtHOUR, &QLineEdit::textEdited, this,
            [this] { fieldTyped(txtHOUR, vsbHOUR, kLastHour); });
    connect(txtMINS, &QLineEdit::textEdited, this,
            [this] { fieldTyped(txtMINS, vsbMINS, kLastMinute); });
    for (int i = 0; i < 2; ++i)
        connect(btnCOM[i], &QPushButton::clicked, this, [this, i] { btnCOM_Click(i); });
}

void frmALM::Form_Load() {
    cbxDAY->addItems({QStringLiteral("All Days"), QStringLiteral("Monday"),
                      QStringLiteral("Tuesday"), QStringLiteral("Wednesday"),
                      QStringLiteral("Thursday"), QStringLiteral("Friday"),
                      QStringLiteral("Saturday"), QStringLiteral("Sunday")});
    cbxMONTH->addItems({QStringLiteral("All Months"), QStringLiteral("January"),
                        QStringLiteral("February"), QStringLiteral("March"),
                        QStringLiteral("April"), QStringLiteral("May"), QStringLiteral("June"),
                        QStringLiteral("July"), QStringLiteral("August"),
                        QStringLiteral("September"), QStringLiteral("October"),
                        QStringLiteral("November"), QStringLiteral("December")});
    cbxDAY->setCurrentIndex(0);
    cbxMONTH->setCurrentIndex(0);
    if (!entry_) {
        setWindowTitle(QStringLiteral("New Alarm"));
        return;
    }
    setWindowTitle(QStringLiteral("Edit Alarm"));
    if (*entry_ >= 1 &&
        *entry_ <= std::min<int>(core_.alarms().AlarmCount, VD_Core::Alarms::kCapacity))
        presetFrom(core_.alarms()[*entry_]);
}

void frmALM::presetFrom(const VD_Core::AlarmEntry& entry) {
    txtNAME->setText(entry.Name);
    vsbHOUR->setValue(hourPosition(entry.Hour));
    vsbMINS->setValue(minsPosition(entry.Mins));
    cbxDAY->setCurrentIndex(dayLine(entry.Day));
    cbxMONTH->setCurrentIndex(monthLine(entry.Month));
}

void frmALM::txtNAME_Change() {
    btnCOM[1]->setEnabled(!txtNAME->text().isEmpty());
}

void frmALM::vsbHOUR_Change() {
    txtHOUR->setText(hourText(hourAt(vsbHOUR->value())));
}

void frmALM::vsbMINS_Change() {
    txtMINS->setText(minsText(minsAt(vsbMINS->value())));
}

// A typed number moves its spinner without rewriting the field under the typing hand.
void frmALM::fieldTyped(QLineEdit* field, QScrollBar* spinner, int last) {
    if (const std::optional<int> value = fieldValue(field->text(), last)) {
        const QSignalBlocker quiet(spinner);
        spinner->setValue(last - *value);
    }
}

void frmALM::btnCOM_Click(int index) {
    if (index == 0) {
        reject();
        return;
    }
    if (index != 1)
        return;
    vsbHOUR_Change();
    vsbMINS_Change();
    const VD_Core::AlarmEntry entry{txtNAME->text(), static_cast<quint8>(hourAt(vsbHOUR->value())),
                                    static_cast<quint8>(minsAt(vsbMINS->value())),
                                    static_cast<quint8>(cbxDAY->currentIndex()),
                                    static_cast<quint8>(cbxMONTH->currentIndex())};
    if (const int n = core_.StoreAlarm(entry, entry_))
        emit alarmStored(n);
    accept();
}

bool frmALM::eventFilter(QObject* watched, QEvent* event) {
    // A field left empty shows its spinner's number again.
    if (event->type() == QEvent::FocusOut) {
        if (watched == txtHOUR)
            vsbHOUR_Change();
        else if (watched == txtMINS)
            vsbMINS_Change();
    }
    return CentredDialog::eventFilter(watched, event);
}
