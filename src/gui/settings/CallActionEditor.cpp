#include "gui/settings/CallActionEditor.h"

#include "ui_CallActionEditor.h"

#include "gui/settings/OptionsPage.h"

#include <QEvent>
#include <QMenu>
#include <QRegularExpression>

namespace zrk {
namespace {

struct Choice {
    const char* stored;
    const char* title;
};

constexpr Choice kEvents[] = {
    {"ring", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Звонок")},
    {"caller", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Абонент определён")},
    {"answer", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Снята трубка")},
    {"missed", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Пропущенный звонок")},
};

constexpr Choice kKinds[] = {
    {"url", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Открыть адрес")},
    {"program", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Запустить программу")},
    {"speak", QT_TRANSLATE_NOOP("zrk::CallActionEditor", "Произнести")},
};

constexpr Choice kPlaceholders[] = {
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

struct Status {
    quint32 bit;
    const char* title;
};

// The status filter's bits, in the order of the check boxes.
constexpr Status kStatuses[] = {
    {1, QT_TRANSLATE_NOOP("zrk::CallActionEditor", "нормальный")},
    {2, QT_TRANSLATE_NOOP("zrk::CallActionEditor", "плохой")},
    {4, QT_TRANSLATE_NOOP("zrk::CallActionEditor", "приоритетный")},
};
constexpr quint32 kKnownStatuses = 1 | 2 | 4;

template <std::size_t N>
const Choice* choice(const Choice (&list)[N], const QString& stored) {
    for (const Choice& c : list)
        if (stored == QLatin1String(c.stored)) return &c;
    return nullptr;
}

template <std::size_t N>
QString titleOf(const Choice (&list)[N], const QString& stored) {
    const Choice* c = choice(list, stored);
    return c ? CallActionEditor::tr(c->title) : stored;
}

// A stored text that is none of `list` is one more item, shown as stored, so that it stays.
template <std::size_t N>
void fillChoices(QComboBox* box, const Choice (&list)[N], const QString& stored) {
    for (const Choice& c : list)
        box->addItem(CallActionEditor::tr(c.title), QString::fromLatin1(c.stored));
    if (box->findData(stored) < 0) box->addItem(stored, stored);
    box->setCurrentIndex(box->findData(stored));
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
    fillChoices(ui_->cbEvent, kEvents, a.event);
    fillChoices(ui_->cbKind, kKinds, a.kind);
    fillEdit(ui_->eTemplate, a.templ);
    fillEdit(ui_->feProgram->lineEdit(), a.program);
    ui_->feProgram->setFilter(tr("Все файлы (*)|*"));
    // A bare name would be looked for along PATH, not where the user picked it.
    ui_->feProgram->setShortNames(false);
    filledArguments_ = a.arguments.join(QLatin1Char('\n'));
    ui_->mArguments->setPlainText(filledArguments_);
    for (std::size_t i = 0; i < std::size(kStatuses); ++i)
        statusBoxes()[i]->setChecked(a.statuses & kStatuses[i].bit);
    fillEdit(ui_->eGroup, a.group);
    ui_->cbEnabled->setChecked(a.enabled);
    ui_->lProblem->hide();

    auto* menu = new QMenu(ui_->bPlaceholders);
    for (const Choice& p : kPlaceholders) {
        const QString placeholder = QString::fromLatin1(p.stored);
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
    const bool program = kind == QLatin1String("program");
    const bool known = choice(kKinds, kind);
    // A kind of a newer version shows every field: none of what it stored is hidden.
    ui_->flCallAction->setRowVisible(ui_->eTemplate, !program);
    ui_->flCallAction->setRowVisible(ui_->feProgram, program || !known);
    ui_->flCallAction->setRowVisible(ui_->mArguments, program || !known);
    ui_->lTemplate->setText(kind == QLatin1String("url")     ? tr("&Адрес:")
                            : kind == QLatin1String("speak") ? tr("&Текст:")
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
    a.event = ui_->cbEvent->currentData().toString();
    a.kind = ui_->cbKind->currentData().toString();
    readText(ui_->eTemplate, a.templ);
    if (ui_->feProgram->text() != given_.program) a.program = ui_->feProgram->text().trimmed();
    if (ui_->mArguments->toPlainText() != filledArguments_)
        a.arguments = argumentLines(ui_->mArguments->toPlainText());
    // Bits of a newer version's statuses stay; ours are the boxes.
    a.statuses = given_.statuses & ~kKnownStatuses;
    for (std::size_t i = 0; i < std::size(kStatuses); ++i)
        if (statusBoxes()[i]->isChecked()) a.statuses |= kStatuses[i].bit;
    if (ui_->eGroup->text() != given_.group) a.group = ui_->eGroup->text().trimmed();
    a.enabled = ui_->cbEnabled->isChecked();
    return a;
}

QString CallActionEditor::problem(QWidget** where) const {
    const CallActionSpec a = action();
    if (a.kind == QLatin1String("program") && a.program.isEmpty()) {
        *where = ui_->feProgram;
        return tr("Выберите программу, которую нужно запустить.");
    }
    if (a.kind == QLatin1String("url") && a.templ.trimmed().isEmpty()) {
        *where = ui_->eTemplate;
        return tr("Введите адрес, который нужно открыть.");
    }
    if (a.kind == QLatin1String("speak") && a.templ.trimmed().isEmpty()) {
        *where = ui_->eTemplate;
        return tr("Введите текст, который нужно произнести.");
    }
    // A name in braces that we do not fill would go out as typed: most likely a slip. What a
    // newer version stored is not ours to judge, so only the fields typed here are looked at.
    static const QRegularExpression braces(QStringLiteral("\\{[A-Za-z_]+\\}"));
    const std::pair<QWidget*, QString> typed[] = {
        {ui_->eTemplate, a.templ != given_.templ ? a.templ : QString()},
        {ui_->mArguments, a.arguments != given_.arguments ? a.arguments.join(QLatin1Char('\n'))
                                                          : QString()}};
    for (const auto& [field, text] : typed) {
        for (const QRegularExpressionMatch& m : braces.globalMatch(text)) {
            if (choice(kPlaceholders, m.captured())) continue;
            *where = field;
            QStringList known;
            for (const Choice& p : kPlaceholders) known << QString::fromLatin1(p.stored);
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
    return titleOf(kEvents, event);
}

QString CallActionEditor::summary(const CallActionSpec& a) {
    const bool showsTemplate =
        a.kind != QLatin1String("program") && (choice(kKinds, a.kind) || !a.templ.isEmpty());
    return titleOf(kKinds, a.kind) + QLatin1String(": ") + (showsTemplate ? a.templ : commandLine(a));
}

QString CallActionEditor::filterTitle(const CallActionSpec& a) {
    QStringList parts;
    for (const Status& s : kStatuses)
        if (a.statuses & s.bit) parts << tr(s.title);
    if (a.statuses & ~kKnownStatuses) parts << QString::number(a.statuses & ~kKnownStatuses);
    if (!a.group.isEmpty()) parts << tr("группа «%1»").arg(a.group);
    return parts.isEmpty() ? tr("все") : parts.join(QLatin1String(", "));
}

}  // namespace zrk
