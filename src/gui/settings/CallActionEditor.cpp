#include "gui/settings/CallActionEditor.h"

#include "ui_CallActionEditor.h"

#include "core/call/CallActions.h"
#include "core/call/LineStatus.h"
#include "gui/settings/OptionsPage.h"

#include <QEvent>
#include <QMenu>
#include <QRegularExpression>

namespace zrk {
namespace {

struct Choice {
    QString stored;
    const char* title;
};

// The stored texts are the runner's, which takes them trimmed and in any case.
const QList<Choice>& eventChoices() {
    static const QList<Choice> list{
        {actions::storedEvent(CallEvent::Ring),
         QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Звонок")},
        {actions::storedEvent(CallEvent::Caller),
         QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Абонент определён")},
        {actions::storedEvent(CallEvent::Answer),
         QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Снята трубка")},
        {actions::storedEvent(CallEvent::Missed),
         QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Пропущенный звонок")},
    };
    return list;
}

const QList<Choice>& kindChoices() {
    static const QList<Choice> list{
        {actions::kKindUrl, QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Открыть адрес")},
        {actions::kKindProgram, QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Запустить программу")},
        {actions::kKindSpeak, QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Произнести")},
    };
    return list;
}

const Choice* choice(const QList<Choice>& list, const QString& stored) {
    for (const Choice& c : list)
        if (stored.trimmed().compare(c.stored, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QString titleOf(const QList<Choice>& list, const QString& stored) {
    const Choice* c = choice(list, stored);
    return c ? CallActionEditor::tr(c->title) : stored;
}

// A stored text that is none of `list` is one more item, shown as stored, so that it stays.
void fillChoices(QComboBox* box, const QList<Choice>& list, const QString& stored) {
    for (const Choice& c : list) box->addItem(CallActionEditor::tr(c.title), c.stored);
    const Choice* known = choice(list, stored);
    if (!known) box->addItem(stored, stored);
    box->setCurrentIndex(known ? int(known - list.data()) : box->count() - 1);
}

struct Placeholder {
    const char* name;
    const char* title;
};

constexpr Placeholder kPlaceholders[] = {
    {"{number}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "номер, как он показан")},
    {"{digits}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "только цифры номера")},
    {"{name}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "имя абонента")},
    {"{group}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "группа")},
    {"{status}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "статус")},
    {"{line}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "линия")},
    {"{category}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "категория")},
    {"{district}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "район")},
    {"{date}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "дата звонка")},
    {"{time}", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "время звонка")},
};

// The status boxes, in the order of the statuses: bit 1 << status.
constexpr int kStatusCount = 3;

bool isPlaceholder(const QString& text) {
    for (const Placeholder& p : kPlaceholders)
        if (text == QLatin1String(p.name)) return true;
    return false;
}

// The program and its arguments as a user would type them in a shell: one that holds a blank
// is quoted, so the list shows where each one ends.
QString commandLine(const CallActionSpec& a) {
    QStringList words{a.program};
    for (const QString& arg : a.arguments)
        words << (arg.isEmpty() || arg.contains(QRegularExpression(QStringLiteral("\\s")))
                      ? QLatin1Char('"') + arg + QLatin1Char('"')
                      : arg);
    return words.join(QLatin1Char(' '));
}

// One argument a line; the empty lines after the last one are no arguments.
QStringList argumentLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

CallActionEditor::CallActionEditor(const CallActionSpec& a, bool adding, QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\CallAction"), parent),
      ui_(makeForm<Ui::CallActionEditor>(this)),
      given_(a) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(adding ? tr("Новое действие при звонке") : tr("Изменить действие при звонке"));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    fillChoices(ui_->cbEvent, eventChoices(), a.event);
    fillChoices(ui_->cbKind, kindChoices(), a.kind);
    givenEvent_ = ui_->cbEvent->currentIndex();
    givenKind_ = ui_->cbKind->currentIndex();
    fillEdit(ui_->eTemplate, a.templ);
    fillEdit(ui_->feProgram->lineEdit(), a.program);
    ui_->feProgram->setFilter(tr("Все файлы (*)|*"));
    // A bare name would be looked for along PATH, not where the user picked it.
    ui_->feProgram->setShortNames(false);
    filledArguments_ = a.arguments.join(QLatin1Char('\n'));
    ui_->mArguments->setPlainText(filledArguments_);
    for (int i = 0; i < kStatusCount; ++i) statusBoxes()[i]->setChecked(a.statuses & (1u << i));
    fillEdit(ui_->eGroup, a.group);
    ui_->cbEnabled->setChecked(a.enabled);
    ui_->lProblem->hide();

    auto* menu = new QMenu(ui_->bPlaceholders);
    for (const Placeholder& p : kPlaceholders) {
        const QString placeholder = QString::fromLatin1(p.name);
        menu->addAction(placeholder + QLatin1String("  ") + tr(p.title), this,
                        [this, placeholder] { insertPlaceholder(placeholder); });
    }
    ui_->bPlaceholders->setMenu(menu);
    ui_->eTemplate->installEventFilter(this);
    ui_->mArguments->installEventFilter(this);
    connect(ui_->cbKind, &QComboBox::currentIndexChanged, this, &CallActionEditor::kindChanged);
    kindChanged();
    connect(ui_->bOK, &QPushButton::clicked, this, &CallActionEditor::accept);
    connect(ui_->bCansel, &QPushButton::clicked, this, &QDialog::reject);
    // Over the list it edits, until a position of the user's is stored.
    if (parent)
        move(parent->window()->geometry().center() -
             QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
    placement_.restoreOrReport(this);
}

std::array<QCheckBox*, 3> CallActionEditor::statusBoxes() const {
    return {ui_->cbNormal, ui_->cbBad, ui_->cbPriority};
}

void CallActionEditor::kindChanged() {
    const QString kind = ui_->cbKind->currentData().toString();
    const bool program = kind == actions::kKindProgram;
    const bool known = choice(kindChoices(), kind);
    // A kind of a newer version shows every field: none of what it stored is hidden.
    ui_->flCallAction->setRowVisible(ui_->eTemplate, !program);
    ui_->flCallAction->setRowVisible(ui_->feProgram, program || !known);
    ui_->flCallAction->setRowVisible(ui_->mArguments, program || !known);
    ui_->lTemplate->setText(kind == actions::kKindUrl     ? tr("&Адрес:")
                            : kind == actions::kKindSpeak ? tr("&Текст:")
                                                          : tr("&Шаблон:"));
    insertInto_ = program ? static_cast<QWidget*>(ui_->mArguments) : ui_->eTemplate;
}

bool CallActionEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn &&
        (watched == ui_->eTemplate || watched == ui_->mArguments))
        insertInto_ = static_cast<QWidget*>(watched);
    return PlacedDialog::eventFilter(watched, event);
}

void CallActionEditor::insertPlaceholder(const QString& placeholder) {
    if (insertInto_ == ui_->mArguments)
        ui_->mArguments->insertPlainText(placeholder);
    else
        ui_->eTemplate->insert(placeholder);
    insertInto_->setFocus(Qt::OtherFocusReason);
}

CallActionSpec CallActionEditor::action() const {
    CallActionSpec a = given_;
    // A choice left alone keeps its text as stored, however it was spelt.
    if (ui_->cbEvent->currentIndex() != givenEvent_)
        a.event = ui_->cbEvent->currentData().toString();
    if (ui_->cbKind->currentIndex() != givenKind_) a.kind = ui_->cbKind->currentData().toString();
    readText(ui_->eTemplate, a.templ);
    if (ui_->feProgram->text() != given_.program) a.program = ui_->feProgram->text().trimmed();
    if (ui_->mArguments->toPlainText() != filledArguments_)
        a.arguments = argumentLines(ui_->mArguments->toPlainText());
    // Bits of a newer version's statuses stay; ours are the boxes.
    a.statuses = given_.statuses & ~actions::kStatusBits;
    for (int i = 0; i < kStatusCount; ++i)
        if (statusBoxes()[i]->isChecked()) a.statuses |= 1u << i;
    if (ui_->eGroup->text() != given_.group) a.group = ui_->eGroup->text().trimmed();
    a.enabled = ui_->cbEnabled->isChecked();
    return a;
}

QString CallActionEditor::problem(QWidget** where) const {
    const CallActionSpec a = action();
    const QString kind = ui_->cbKind->currentData().toString();
    if (kind == actions::kKindProgram && a.program.isEmpty()) {
        *where = ui_->feProgram;
        return tr("Выберите программу, которую нужно запустить.");
    }
    if (kind == actions::kKindUrl && a.templ.trimmed().isEmpty()) {
        *where = ui_->eTemplate;
        return tr("Введите адрес, который нужно открыть.");
    }
    if (kind == actions::kKindSpeak && a.templ.trimmed().isEmpty()) {
        *where = ui_->eTemplate;
        return tr("Введите текст, который нужно произнести.");
    }
    if (ui_->cbEvent->currentData().toString() == actions::storedEvent(CallEvent::Ring) &&
        actions::hasFilter(a)) {
        *where = ui_->cbEvent;
        return tr(
            "При звонке абонент ещё не известен, и действие с отбором не выполнится. "
            "Выберите событие «Абонент определён» или снимите отбор.");
    }
    // A name in braces that we do not fill would go out as typed: most likely a slip. What a
    // newer version stored is not ours to judge, so only the fields typed here are looked at.
    static const QRegularExpression braces(QStringLiteral("\\{[A-Za-z_]+\\}"));
    const std::pair<QWidget*, QString> typed[] = {
        {ui_->eTemplate, a.templ != given_.templ ? a.templ : QString()},
        {ui_->mArguments,
         a.arguments != given_.arguments ? a.arguments.join(QLatin1Char('\n')) : QString()}};
    for (const auto& [field, text] : typed) {
        for (const QRegularExpressionMatch& m : braces.globalMatch(text)) {
            if (isPlaceholder(m.captured())) continue;
            *where = field;
            QStringList known;
            for (const Placeholder& p : kPlaceholders) known << QString::fromLatin1(p.name);
            return tr("Неизвестная подстановка %1. Можно: %2.")
                .arg(m.captured(), known.join(QLatin1Char(' ')));
        }
    }
    return {};
}

void CallActionEditor::accept() {
    QWidget* where = nullptr;
    const QString why = problem(&where);
    if (why.isEmpty()) {
        PlacedDialog::accept();
        return;
    }
    ui_->lProblem->setText(why);
    ui_->lProblem->show();
    where->setFocus(Qt::OtherFocusReason);
}

QString CallActionEditor::eventTitle(const QString& event) {
    return titleOf(eventChoices(), event);
}

QString CallActionEditor::summary(const CallActionSpec& a) {
    const Choice* kind = choice(kindChoices(), a.kind);
    const bool showsTemplate = kind ? kind->stored != actions::kKindProgram : !a.templ.isEmpty();
    return titleOf(kindChoices(), a.kind) + QLatin1String(": ") +
           (showsTemplate ? a.templ : commandLine(a));
}

QString CallActionEditor::filterTitle(const CallActionSpec& a) {
    QStringList parts;
    for (int i = 0; i < kStatusCount; ++i)
        if (a.statuses & (1u << i)) parts << statusWord(i);
    if (a.statuses & ~actions::kStatusBits)
        parts << QString::number(a.statuses & ~actions::kStatusBits);
    if (!a.group.isEmpty()) parts << tr("группа «%1»").arg(a.group);
    return parts.isEmpty() ? tr("все") : parts.join(QLatin1String(", "));
}

}  // namespace zrk
