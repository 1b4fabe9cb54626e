#include "settings/Options.h"

#include "ui_Options.h"

#include "platform/SerialPorts.h"
#include "platform/Values.h"
#include "settings/District.h"
#include "settings/InRaion.h"
#include "settings/NetworkPage.h"
#include "settings/OptionsHost.h"
#include "settings/OptionsRules.h"
#include "settings/Settings.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>

namespace zrk {
namespace {

constexpr int kSeparatedRole = Qt::UserRole;

bool sameDevice(const SerialDeviceLocation& a, const SerialDeviceLocation& b) {
    return a.path == b.path && a.isVirtual == b.isVirtual;
}

// A face that is not installed here (a store from another desktop) stays in the list, so
// that an untouched dialog keeps it.
void fillFaces(QComboBox* box, const QStringList& families, const QString& face) {
    box->addItems(families);
    int i = box->findText(face, Qt::MatchFixedString);
    if (i < 0) {
        box->insertItem(0, face);
        i = 0;
    }
    box->setCurrentIndex(i);
}

// What an edit showed when the dialog filled it: a stored text longer than the edit takes
// (a separator " - " from an import) comes back whole unless the user changed the edit.
const char* const kFilledText = "filledText";

void fill(QLineEdit* edit, const QString& stored) {
    edit->setText(stored);
    edit->setProperty(kFilledText, edit->text());
}

bool edited(const QLineEdit* edit) {
    return edit->text() != edit->property(kFilledText).toString();
}

void readText(const QLineEdit* edit, QString& setting) {
    if (edited(edit)) setting = edit->text();
}

void readInteger(const QLineEdit* edit, qint32& setting) {
    if (!edited(edit)) return;
    if (const auto v = readIntegerEdit(edit->text())) setting = *v;
}

void enableAll(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* w : widgets) w->setEnabled(on);
}

QTreeWidgetItem* raionItem(const RaionEntry& e) {
    auto* item = new QTreeWidgetItem({e.number, e.raion});
    item->setData(0, kSeparatedRole, e.separated);
    return item;
}

}  // namespace

TOptions::TOptions(OptionsHost& host, QWidget* parent) : TOptions(host, DeviceRoots(), parent) {}

TOptions::TOptions(OptionsHost& host, const DeviceRoots& roots, QWidget* parent)
    : QDialog(parent), host_(host), ui(std::make_unique<Ui::Options>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->lvRaion->setColumnWidth(0, 60);
    ui->lvRaion->setColumnWidth(1, 152);
    ui->lvRaion->installEventFilter(this);
    const QString wav = QStringLiteral("Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*");
    for (FileNameEdit* e : {ui->eWave, ui->feNormal, ui->feBad, ui->fePrior, ui->feReminder})
        e->setFilter(wav);
    ui->eLog->setFilter(QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*"));
    ui->eBook->setFilter(QStringLiteral("Телефоны (*.phn)|*.phn|Все файлы (*.*)|*.*"));
    networkPage_ = new NetworkPage(host_, ini(), this);
    ui->PageControl1->addTab(networkPage_, QStringLiteral("Сеть"));
    wire();
    FormCreate(roots);
}

TOptions::~TOptions() = default;

void TOptions::wire() {
    connect(ui->rbSpeaker, &QRadioButton::toggled, this, &TOptions::cbWaveClick);
    connect(ui->rbWave, &QRadioButton::toggled, this, &TOptions::cbWaveClick);
    connect(ui->cbSound, &QCheckBox::toggled, this, &TOptions::cbSoundClick);
    connect(ui->cbAutoDial, &QCheckBox::toggled, this, &TOptions::cbAutoDialClick);
    connect(ui->cbPortOnOff, &QCheckBox::toggled, this, &TOptions::cbPortOnOffClick);
    connect(ui->cbSoundOnOff, &QCheckBox::toggled, this, &TOptions::cbSoundOnOffClick);

    const auto portChange = [this] { portChanged_ = true; };
    connect(ui->cbPort, &QComboBox::currentIndexChanged, this, [this, portChange] {
        portChange();
        showDevice();
    });
    connect(ui->cbSpeed, &QComboBox::currentIndexChanged, this, portChange);
    connect(ui->eInit, &QLineEdit::textChanged, this, portChange);
    connect(ui->cbDevice, &QComboBox::currentTextChanged, this, &TOptions::deviceEdited);
    connect(ui->cbVirtual, &QCheckBox::toggled, this, &TOptions::deviceEdited);

    const auto fontChange = [this] { fontsChanged_ = true; };
    for (QComboBox* face : {ui->cbFNumber, ui->cbFCounter, ui->cbFInfo})
        connect(face, &QComboBox::currentIndexChanged, this, fontChange);
    for (QLineEdit* size : {ui->eNumber, ui->eCounter, ui->eInfo})
        connect(size, &QLineEdit::textChanged, this, fontChange);
    for (ColorBox* colour : {ui->cbNumber, ui->cbCounter, ui->cbInfo, ui->cbFon, ui->cbNotAct})
        connect(colour, &ColorBox::colorChanged, this, fontChange);

    connect(ui->cbKateg, &QComboBox::currentIndexChanged, this, &TOptions::cbKategChange);
    connect(ui->bAdd, &QPushButton::clicked, this, &TOptions::bAddClick);
    connect(ui->bProp, &QPushButton::clicked, this, &TOptions::bPropClick);
    connect(ui->bDel, &QPushButton::clicked, this, &TOptions::bDelClick);
    connect(ui->bOK, &QPushButton::clicked, this, &TOptions::bOKClick);
    connect(ui->bCansel, &QPushButton::clicked, this, &QDialog::reject);
}

void TOptions::FormCreate(const DeviceRoots& roots) {
    move(229, 165);  // until a position of the user's is stored
    placement_.restoreOrReport(this);
    filling_ = true;
    const TIni& s = ini();
    ui->cbStayOnTop->setChecked(s.StayOnTop);
    ui->cbMinimized->setChecked(s.Minimized);
    ui->cbNormal->setChecked(s.PopupOnCall);
    ui->cbScreen->setChecked(s.Screen);
    fill(ui->eDigits, QString::number(s.DigitsInPhoneNumber));
    fill(ui->eTire, s.SeparatorOfGroups);
    fill(ui->eCountNum, QString::number(s.DigitsInGroup));
    ui->rbWin->setChecked(s.DoubleClick);
    ui->rbPort->setChecked(!s.DoubleClick);

    // A stored index outside a list leaves the list without a selection.
    ui->cbPort->setCurrentIndex(s.Port < ui->cbPort->count() ? s.Port : -1);
    ui->cbSpeed->setCurrentIndex(s.Baud < ui->cbSpeed->count() ? s.Baud : -1);
    ui->cbRing->setCurrentIndex(s.AnswerOnRing < ui->cbRing->count() ? s.AnswerOnRing : -1);
    ui->cbTonePulse->setCurrentIndex(s.Prefix < ui->cbTonePulse->count() ? s.Prefix : -1);
    ui->eInit->setText(s.Init);
    ui->eZrk->setText(s.Zrk);
    ui->eHandUp->setText(s.HandUp);
    ui->eCallerID->setText(s.CallerID);
    fillDevices(roots);

    ui->cbSound->setChecked(s.Sound);
    ui->rbSpeaker->setChecked(!s.PlayWAV);
    ui->rbWave->setChecked(s.PlayWAV);
    ui->eWave->setText(s.WAVFileOnRing);
    ui->eLog->setText(s.LogFile);
    ui->cbAutoDial->setChecked(s.ReDial);
    fill(ui->eCountPop, QString::number(s.ReDialTry));
    fill(ui->ePause, QString::number(s.ReDialWait));
    ui->cbBookshow->setChecked(s.PhoneBook);
    ui->eBook->setText(s.PhoneBookFile);

    const QStringList families = QFontDatabase::families();
    fillFaces(ui->cbFNumber, families, s.NumberFont);
    fillFaces(ui->cbFCounter, families, s.CounterFont);
    fillFaces(ui->cbFInfo, families, s.InfoFont);
    fill(ui->eNumber, QString::number(s.NumberSize));
    fill(ui->eCounter, QString::number(s.CounterSize));
    fill(ui->eInfo, QString::number(s.InfoSize));
    ui->cbNumber->setColorRef(s.NumberColor);
    ui->cbCounter->setColorRef(s.CounterColor);
    ui->cbInfo->setColorRef(s.InfoColor);
    ui->cbFon->setColorRef(s.BackgroundColor);
    ui->cbNotAct->setColorRef(s.NotActiveColor);

    ui->cbNorma->setCurrentIndex(s.OnNormal < ui->cbNorma->count() ? s.OnNormal : -1);
    ui->cbBad->setCurrentIndex(s.OnBad < ui->cbBad->count() ? s.OnBad : -1);
    ui->cbPrior->setCurrentIndex(s.OnPrior < ui->cbPrior->count() ? s.OnPrior : -1);
    ui->feNormal->setText(s.SoundOnNormal);
    ui->feBad->setText(s.SoundOnBad);
    ui->fePrior->setText(s.SoundOnPrior);
    ui->feReminder->setText(s.ReminderSound);

    ui->cbPortOnOff->setChecked(s.PortOnOff);
    ui->cbSoundOnOff->setChecked(s.SoundOnOff);
    ui->dtPortOFF->setTime(timeOfValue(s.PortOff));
    ui->dtPortON->setTime(timeOfValue(s.PortOn));
    ui->dtSoundOFF->setTime(timeOfValue(s.SoundOff));
    ui->dtSoundON->setTime(timeOfValue(s.SoundOn));

    ui->cbKateg->setCurrentIndex(0);
    ui->eKateg->setText(s.Categories[0]);
    ui->eKateg->setCursorPosition(0);  // the short name first, not the end of the description
    try {
        for (const RaionEntry& e : LoadRaions()) ui->lvRaion->addTopLevelItem(raionItem(e));
        raionsLoaded_ = true;
    } catch (...) {
        // A table that could not be read is neither shown half nor written back empty:
        // its controls stay off and OK leaves it as it is.
        ui->lvRaion->clear();
        enableAll({ui->lvRaion, ui->bAdd, ui->bDel, ui->bProp}, false);
        host_.reportError(std::current_exception());
    }

    cbWaveClick();
    cbSoundClick();
    cbAutoDialClick();
    cbPortOnOffClick();
    cbSoundOnOffClick();
    ui->PageControl1->setCurrentIndex(0);
    filling_ = false;
    previousCategory_ = 0;
    portChanged_ = false;
    fontsChanged_ = false;
}

void TOptions::cbWaveClick() {
    ui->eWave->setEnabled(ui->rbWave->isChecked());
}

void TOptions::cbSoundClick() {
    enableAll({ui->rbSpeaker, ui->rbWave, ui->eWave}, ui->cbSound->isChecked());
    if (ui->eWave->isEnabled()) cbWaveClick();
}

void TOptions::cbAutoDialClick() {
    enableAll({ui->lCountPop, ui->lPause, ui->eCountPop, ui->ePause}, ui->cbAutoDial->isChecked());
}

void TOptions::cbPortOnOffClick() {
    enableAll({ui->dtPortOFF, ui->dtPortON, ui->lPortOFF, ui->lPortON},
              ui->cbPortOnOff->isChecked());
}

void TOptions::cbSoundOnOffClick() {
    enableAll({ui->dtSoundOFF, ui->dtSoundON, ui->lSoundOFF, ui->lSoundON},
              ui->cbSoundOnOff->isChecked());
}

// Each category's text reaches the record as soon as another category is picked, and stays
// there even when the dialog is cancelled.
void TOptions::cbKategChange() {
    const int selected = ui->cbKateg->currentIndex();
    if (selected == previousCategory_) return;
    if (previousCategory_ == -1) previousCategory_ = selected;
    if (previousCategory_ >= 0 && previousCategory_ < int(ini().Categories.size()))
        ini().Categories[size_t(previousCategory_)] = ui->eKateg->text();
    previousCategory_ = selected;
    if (selected >= 0 && selected < int(ini().Categories.size())) {
        ui->eKateg->setText(ini().Categories[size_t(selected)]);
        ui->eKateg->setCursorPosition(0);
    }
}

void TOptions::fillDevices(const DeviceRoots& roots) {
    for (int i = 0; i < 4; ++i)
        devices_[size_t(i)] = locateSerialDevice(QStringLiteral("Com%1").arg(i + 1));
    foundDevices_ = devices_;
    for (const SerialPortCandidate& c : listSerialPorts(roots.dev, roots.sys)) {
        ui->cbDevice->addItem(c.path);
        if (!c.target.isEmpty())
            ui->cbDevice->setItemData(ui->cbDevice->count() - 1, c.target, Qt::ToolTipRole);
    }
    showDevice();
}

void TOptions::showDevice() {
    const int port = ui->cbPort->currentIndex();
    const bool known = port >= 0 && port < 4;
    const bool wasFilling = filling_;
    filling_ = true;
    ui->cbDevice->setEnabled(known);
    ui->cbVirtual->setEnabled(known);
    ui->cbDevice->setEditText(known ? devices_[size_t(port)].path : QString());
    ui->cbVirtual->setChecked(known && devices_[size_t(port)].isVirtual);
    filling_ = wasFilling;
    showDeviceNote();
}

// What the typed device is, beside the field: the field itself is the user's to edit.
void TOptions::showDeviceNote() {
    const int port = ui->cbPort->currentIndex();
    const bool known = port >= 0 && port < 4;
    QString note;
    if (known) {
        const QString path = devices_[size_t(port)].path;
        const QFileInfo info(path);
        if (info.isSymLink() && info.exists())
            note = QStringLiteral("Ссылка на %1. ").arg(info.canonicalFilePath());
        note += serialDeviceProblem(path);
    }
    ui->lDeviceNote->setText(note.trimmed());
    ui->lDeviceNote->setVisible(!note.isEmpty());
}

void TOptions::deviceEdited() {
    if (filling_) return;
    const int port = ui->cbPort->currentIndex();
    if (port < 0 || port >= 4) return;
    devices_[size_t(port)] = {ui->cbDevice->currentText().trimmed(), ui->cbVirtual->isChecked()};
    portChanged_ = true;
    showDeviceNote();
}

bool TOptions::eventFilter(QObject* watched, QEvent* event) {
    // A list that gets the focus with rows but no selection selects its first row.
    if (watched == ui->lvRaion && event->type() == QEvent::FocusIn) {
        QTreeWidget* lv = ui->lvRaion;
        if (lv->topLevelItemCount() > 1 && lv->selectedItems().isEmpty()) {
            lv->setCurrentItem(lv->topLevelItem(0));
            lv->topLevelItem(0)->setSelected(true);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOptions::bAddClick() {
    TInRaion editor(true, this);
    if (editor.exec() == QDialog::Accepted)
        ui->lvRaion->addTopLevelItem(raionItem({editor.eNumber->text(), editor.eRaion->text()}));
    ui->lvRaion->setFocus();
}

void TOptions::bPropClick() {
    const QList<QTreeWidgetItem*> selected = ui->lvRaion->selectedItems();
    if (selected.isEmpty()) return;
    // The first selected row in list order, whatever order they were picked in.
    QTreeWidgetItem* item = selected.first();
    for (QTreeWidgetItem* s : selected)
        if (ui->lvRaion->indexOfTopLevelItem(s) < ui->lvRaion->indexOfTopLevelItem(item)) item = s;
    TInRaion editor(false, this);
    editor.eNumber->setText(item->text(0));
    editor.eRaion->setText(item->text(1));
    if (editor.exec() == QDialog::Accepted) {
        item->setText(0, editor.eNumber->text());
        item->setText(1, editor.eRaion->text());
        item->setData(0, kSeparatedRole, true);
    }
    ui->lvRaion->setFocus();
}

void TOptions::bDelClick() {
    qDeleteAll(ui->lvRaion->selectedItems());
    ui->lvRaion->setFocus();
}

void TOptions::storeControls() {
    TIni& s = ini();
    s.StayOnTop = ui->cbStayOnTop->isChecked();
    s.Minimized = ui->cbMinimized->isChecked();
    s.PopupOnCall = ui->cbNormal->isChecked();
    s.Screen = ui->cbScreen->isChecked();
    readText(ui->eTire, s.SeparatorOfGroups);
    s.DoubleClick = ui->rbWin->isChecked();

    s.Port = ui->cbPort->currentIndex();
    s.Baud = ui->cbSpeed->currentIndex();
    s.AnswerOnRing = ui->cbRing->currentIndex();
    s.Prefix = ui->cbTonePulse->currentIndex();
    s.Init = ui->eInit->text();
    s.Zrk = ui->eZrk->text();
    s.HandUp = ui->eHandUp->text();
    s.CallerID = ui->eCallerID->text();

    s.Sound = ui->cbSound->isChecked();
    s.PlayWAV = ui->rbWave->isChecked();
    s.WAVFileOnRing = ui->eWave->text();
    s.LogFile = ui->eLog->text();
    s.ReDial = ui->cbAutoDial->isChecked();
    s.PhoneBook = ui->cbBookshow->isChecked();
    s.PhoneBookFile = ui->eBook->text();

    s.NumberFont = ui->cbFNumber->currentText();
    s.CounterFont = ui->cbFCounter->currentText();
    s.InfoFont = ui->cbFInfo->currentText();
    s.NumberColor = ui->cbNumber->colorRef();
    s.CounterColor = ui->cbCounter->colorRef();
    s.InfoColor = ui->cbInfo->colorRef();
    s.BackgroundColor = ui->cbFon->colorRef();
    s.NotActiveColor = ui->cbNotAct->colorRef();

    s.OnNormal = ui->cbNorma->currentIndex();
    s.OnBad = ui->cbBad->currentIndex();
    s.OnPrior = ui->cbPrior->currentIndex();
    s.SoundOnNormal = ui->feNormal->text();
    s.SoundOnBad = ui->feBad->text();
    s.SoundOnPrior = ui->fePrior->text();
    s.ReminderSound = ui->feReminder->text();

    // Text that is no whole number leaves the setting as it was, without a word.
    readInteger(ui->eDigits, s.DigitsInPhoneNumber);
    readInteger(ui->eCountNum, s.DigitsInGroup);
    readInteger(ui->eCountPop, s.ReDialTry);
    readInteger(ui->ePause, s.ReDialWait);
    readInteger(ui->eNumber, s.NumberSize);
    readInteger(ui->eCounter, s.CounterSize);
    readInteger(ui->eInfo, s.InfoSize);

    s.PortOnOff = ui->cbPortOnOff->isChecked();
    s.SoundOnOff = ui->cbSoundOnOff->isChecked();
    s.PortOff = scheduleTimeValue(s.PortOff, ui->dtPortOFF->time());
    s.PortOn = scheduleTimeValue(s.PortOn, ui->dtPortON->time());
    s.SoundOff = scheduleTimeValue(s.SoundOff, ui->dtSoundOFF->time());
    s.SoundOn = scheduleTimeValue(s.SoundOn, ui->dtSoundON->time());
    networkPage_->store(s);
}

void TOptions::attempt(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        host_.reportError(std::current_exception());
    }
}

void TOptions::bOKClick() {
    storeControls();
    const TIni& s = ini();
    if (s.PortOnOff || s.SoundOnOff) {
        attempt([this] {
            host_.startScheduleTimer();
            if (host_.TimeToClose() && host_.portActive()) host_.ClosePortClick();
            host_.TimeToNoSound();
        });
    }
    attempt([this] { host_.takeScheduleState(); });
    previousCategory_ = -1;
    cbKategChange();

    QList<RaionEntry> rows;
    for (int i = 0; i < ui->lvRaion->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui->lvRaion->topLevelItem(i);
        rows.append({item->text(0), item->text(1), item->data(0, kSeparatedRole).toBool()});
    }
    // A store that refuses the write is said; what the user chose still takes effect now and
    // is saved again at exit.
    if (raionsLoaded_) attempt([&rows] { SaveRaions(rows); });
    attempt([this] {
        for (int i = 0; i < 4; ++i)
            if (!sameDevice(devices_[size_t(i)], foundDevices_[size_t(i)]))
                saveSerialDeviceLocation(i + 1, devices_[size_t(i)]);
    });
    attempt([&s] { SaveSettings(s); });

    if (portChanged_) attempt([this] { host_.ClosePortClick(); });
    if (fontsChanged_) attempt([this] { host_.InitFont(); });
    attempt([this] {
        host_.ViewSound();
        host_.applyStayOnTopSetting();
        host_.HeightForm();
    });
    // The schedule may just have closed the port: a new device must not open it again.
    if (portChanged_ && !host_.TimeToClose()) attempt([this] { host_.OpenPortClick(); });
    attempt([this] { host_.applyNetworkSettings(); });
    accept();
}

void TOptions::keyPressEvent(QKeyEvent* event) {
    // Esc does not cancel this dialog: a slip of the finger must not lose a page of changes.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TOptions::done(int result) {
    placement_.saveOrReport(this);
    QDialog::done(result);
}

}  // namespace zrk
