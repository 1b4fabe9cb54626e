#include "gui/book/PhoneBook.h"

#include "core/platform/Exception.h"
#include "core/platform/StartTrace.h"
#include "core/settings/Positions.h"
#include "core/settings/Settings.h"
#include "gui/windows/DialogLook.h"
#include "gui/windows/FailurePresenter.h"
#include "gui/windows/Line.h"
#include "gui/windows/StatusIcons.h"
#include "gui/windows/ToolBar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTreeView>

namespace zrk {
namespace {

BookPrompts desktopPrompts(QWidget* owner) {
    BookPrompts p;
    p.exec = [](QDialog& d) { return d.exec(); };
    p.ask = [owner](const QString& caption, const QString& text) {
        QMessageBox box(owner);
        askBeforeDelete(box, caption, text);
        return QMessageBox::StandardButton(box.exec());
    };
    p.warn = [owner](const QString& caption, const QString& text) {
        QMessageBox::warning(owner, caption, text);
    };
    // A save's failure comes back some time after the command: the presenter's box holds
    // up nothing, as a modal one would hold up whatever runs then.
    p.error = [](const QString& caption, const QString& text) {
        FailurePresenter::instance().show({Failure::Kind::File, text, false, caption});
    };
    p.openFile = [owner](const QString& caption, const QString& filters) {
        return QFileDialog::getOpenFileName(owner, caption, QString(), filters);
    };
    p.saveFile = [owner](const QString& caption, const QString& filters, QString* filter) {
        return QFileDialog::getSaveFileName(owner, caption, QString(), filters, filter);
    };
    return p;
}

}  // namespace

TPhoneBook::TPhoneBook(BookDocument& document, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      document_(document),
      model_(new BookModel(document_.store(), this)),
      prompts_(desktopPrompts(this)) {
    setObjectName(QStringLiteral("PhoneBook"));
    setWindowTitle(tr("Телефонная книжка"));
    setWindowIcon(statusIcon(StatusNormal));

    lvBook = new QTreeView(this);
    setUpList(lvBook, "lvBook");
    lvBook->setModel(model_);
    lvBook->setAllColumnsShowFocus(true);
    QHeaderView* header = lvBook->header();
    header->setSectionsClickable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    connect(header, &QHeaderView::sectionClicked, this, &TPhoneBook::lvBookColumnClick);
    connect(lvBook, &QTreeView::doubleClicked, this, &TPhoneBook::sbDialClick);
    lvBook->installEventFilter(this);
    setCentralWidget(lvBook);

    buildToolbar();
    buildMenu();
    setListPopup(lvBook, PopupMenu1);
    connect(lvBook->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { mPExportSelected->setEnabled(lvBook->selectionModel()->hasSelection()); });

    auto* bar = named<QStatusBar>("stStatus", this);
    stStatus0 = addStatusPanel(bar, "stStatus0", 80);
    stStatus1 = addStatusPanel(bar, "stStatus1", 150);
    setStatusBar(bar);
    connect(&document_, &BookDocument::loaded, this, [this] {
        showBook();
        setEnabled(true);
    });

    // Creation: place, columns, the book, the selector at the stored group.
    PendingPhone.clear();
    const double scale = designScale(lvBook->font());
    resize(qRound(472 * scale), qRound(283 * scale));
    move(202, 163);
    placement_.restoreOrReport(this);
    sortField_ = 1;
    ColumCreate();
    traceStart("book window: made");
    // No command on a book not there yet, nor on one that could not be read.
    setEnabled(document_.isLoaded() && !document_.loadFailed());
    showBook();
    traceStart("book window: listed");
}

void TPhoneBook::showBook() {
    MenuCreate();
    fillSelector();
    const int stored = ini().Group;
    setSelector(stored >= 0 && stored < store().groupCount() ? stored : 0);
    shownGroup_ = cbGroup->currentIndex();
    ItemsView();
}

TPhoneBook::~TPhoneBook() {
    // The window is hidden after the book is gone: the list must not ask it for rows then.
    lvBook->setModel(nullptr);
}

void TPhoneBook::buildToolbar() {
    auto* tb = addFixedToolBar(this, "tbTools");
    const auto button = [this, tb](const char* name, const char* hint, const char* icon,
                                   QStyle::StandardPixmap fallback, auto slot) {
        return addToolButton(tb, name, tr(hint), themed(icon, fallback, this), this, slot);
    };
    sbDial = button("sbDial", QT_TR_NOOP("Набрать номер"), "call-start", QStyle::SP_MediaPlay,
                    &TPhoneBook::sbDialClick);
    sbAnswer = button("sbAnswer", QT_TR_NOOP("Снять трубку"), "call-stop",
                      QStyle::SP_DialogApplyButton, &TPhoneBook::sbAnswerClick);
    tb->addSeparator();
    sbAdd = button("sbAdd", QT_TR_NOOP("Добавить запись"), "list-add", QStyle::SP_FileIcon,
                   &TPhoneBook::sbAddClick);
    sbDel = button("sbDel", QT_TR_NOOP("Удалить запись"), "list-remove", QStyle::SP_TrashIcon,
                   &TPhoneBook::sbDelClick);
    sbProp = button("sbProp", QT_TR_NOOP("Редактировать"), "document-edit",
                    QStyle::SP_FileDialogContentsView, &TPhoneBook::sbPropClick);
    sbInfo = button("sbInfo", QT_TR_NOOP("Полная информация"), "dialog-information",
                    QStyle::SP_MessageBoxInformation, &TPhoneBook::sbInfoClick);
    tb->addSeparator();
    sbReminder = button("sbReminder", QT_TR_NOOP("Добавить в напоминание"), "appointment-new",
                        QStyle::SP_FileDialogInfoView, &TPhoneBook::sbReminderClick);
    tb->addSeparator();
    cbGroup = named<QComboBox>("cbGroup", tb);
    cbGroup->setToolTip(tr("Группа"));
    cbGroup->setFixedWidth(160);
    tb->addWidget(cbGroup);
    connect(cbGroup, &QComboBox::currentIndexChanged, this, &TPhoneBook::cbGroupChange);
    tb->addSeparator();
    sbAddGr = button("sbAddGr", QT_TR_NOOP("Добавить группу"), "folder-new",
                     QStyle::SP_FileDialogNewFolder, &TPhoneBook::sbAddGrClick);
    sbDelGr = button("sbDelGr", QT_TR_NOOP("Удалить группу"), "edit-delete",
                     QStyle::SP_DialogDiscardButton, &TPhoneBook::sbDelGrClick);
    sbPropGr = button("sbPropGr", QT_TR_NOOP("Свойства группы"), "document-properties",
                      QStyle::SP_FileDialogDetailedView, &TPhoneBook::sbPropGrClick);
    tb->addSeparator();
    sbImport = button("sbImport", QT_TR_NOOP("Импорт..."), "document-import",
                      QStyle::SP_DialogOpenButton, &TPhoneBook::sbImportClick);
    // A press opens its menu of what to export: the list menu's own "Экспорт" (buildMenu).
    sbExport = named<QToolButton>("sbExport", tb);
    sbExport->setToolTip(tr("Экспорт..."));
    sbExport->setIcon(themed("document-export", QStyle::SP_DialogSaveButton, this));
    sbExport->setAutoRaise(true);
    sbExport->setPopupMode(QToolButton::InstantPopup);
    tb->addWidget(sbExport);
    tb->addSeparator();
    sbExit = button("sbExit", QT_TR_NOOP("Спрятать книжку"), "window-close",
                    QStyle::SP_DialogCloseButton, &QWidget::close);
}

QAction* TPhoneBook::addItem(QMenu* menu, const char* name, const QString& text, const QIcon& icon,
                             const QKeySequence& key, const std::function<void()>& run) {
    QAction* a = menu->addAction(icon, text);
    a->setObjectName(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, run);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        // The short-cuts work while the list has the focus, as the menu's keys.
        a->setShortcutContext(Qt::WidgetShortcut);
        lvBook->addAction(a);
    }
    return a;
}

void TPhoneBook::buildMenu() {
    PopupMenu1 = named<QMenu>("PopupMenu1", this);
    mPDial = addItem(PopupMenu1, "mPDial", tr("&Звонить"), sbDial->icon(), {},
                     [this] { sbDialClick(); });
    PopupMenu1->setDefaultAction(mPDial);
    PopupMenu1->addSeparator();
    auto* status = new QMenu(tr("Ст&атус"), PopupMenu1);
    mPStatus = PopupMenu1->addMenu(status);
    mPStatus->setObjectName(QStringLiteral("mPStatus"));
    mPStatus->setIcon(themed("emblem-important", QStyle::SP_DialogHelpButton, this));
    mPNormal = addItem(status, "mPNormal", tr("&Нормальный"), statusIcon(0), {},
                       [this] { SetStatus(StatusNormal); });
    mPBad = addItem(status, "mPBad", tr("&Плохой"), statusIcon(1), {},
                    [this] { SetStatus(StatusBad); });
    mPPrior = addItem(status, "mPPrior", tr("П&риоритетный"), statusIcon(2), {},
                      [this] { SetStatus(StatusPriority); });
    PopupMenu1->addSeparator();
    mPAdd = addItem(PopupMenu1, "mPAdd", tr("&Добавить..."), sbAdd->icon(), Qt::Key_Insert,
                    [this] { sbAddClick(); });
    mPDel = addItem(PopupMenu1, "mPDel", tr("&Удалить"), sbDel->icon(), Qt::Key_Delete,
                    [this] { sbDelClick(); });
    PopupMenu1->addSeparator();
    mPGroupMenu = new QMenu(tr("&Переместить в"), PopupMenu1);
    mPGroup = PopupMenu1->addMenu(mPGroupMenu);
    mPGroup->setObjectName(QStringLiteral("mPGroup"));
    mPGroup->setIcon(themed("go-jump", QStyle::SP_ArrowForward, this));
    PopupMenu1->addSeparator();
    mPInfo = addItem(PopupMenu1, "mPInfo", tr("&Информация"), sbInfo->icon(), Qt::CTRL | Qt::Key_I,
                     [this] { sbInfoClick(); });
    mPReminder = addItem(PopupMenu1, "mPReminder", tr("&Напоминание..."), sbReminder->icon(),
                         Qt::CTRL | Qt::Key_R, [this] { sbReminderClick(); });
    mPOpti = addItem(PopupMenu1, "mPOpti", tr("Нас&тройка..."),
                     themed("configure", QStyle::SP_FileDialogListView, this), {},
                     [this] { mPOptiClick(); });
    mPProp = addItem(PopupMenu1, "mPProp", tr("&Свойства..."), sbProp->icon(), {},
                     [this] { sbPropClick(); });
    PopupMenu1->addSeparator();
    mPImport = addItem(PopupMenu1, "mPImport", tr("И&мпорт..."), sbImport->icon(), {},
                       [this] { sbImportClick(); });
    auto* exportMenu = named<QMenu>("mPExportMenu", tr("&Экспорт"), PopupMenu1);
    mPExport = PopupMenu1->addMenu(exportMenu);
    mPExport->setObjectName(QStringLiteral("mPExport"));
    mPExport->setIcon(sbExport->icon());
    mPExportAll = addItem(exportMenu, "mPExportAll", tr("&Всю книгу..."), {}, {},
                          [this] { exportContacts(ExportWhat::Book); });
    mPExportShown = addItem(exportMenu, "mPExportShown", tr("&Группу на экране..."), {}, {},
                            [this] { exportContacts(ExportWhat::Shown); });
    mPExportSelected = addItem(exportMenu, "mPExportSelected", tr("В&ыбранные записи..."), {}, {},
                               [this] { exportContacts(ExportWhat::Selected); });
    sbExport->setMenu(exportMenu);
    mPSync = addItem(PopupMenu1, "mPSync", tr("Син&хронизировать с адресной книгой"),
                     themed("view-refresh", QStyle::SP_BrowserReload, this), {}, [this] {
                         if (syncNow_) syncNow_();
                     });
    mPSync->setEnabled(false);  // until an address book is set
    mPOpti->setEnabled(false);  // until the column chooser is there
}

void TPhoneBook::setLine(Line* line) {
    line_ = line;
    if (info_) info_->setLine(line);
}

void TPhoneBook::setInfoForm(TItemInfo* form) {
    info_ = form;
    if (info_) info_->setLine(line_);
}

TItemInfo* TPhoneBook::infoForm() {
    if (!info_) setInfoForm(new TItemInfo(this));
    return info_;
}

void TPhoneBook::setPortActive(bool active) {
    portActive_ = active;
    sbAnswer->setEnabled(active);
    ED();
}

void TPhoneBook::setAddressBookSync(std::function<void()> run) {
    syncNow_ = std::move(run);
    mPSync->setEnabled(bool(syncNow_));
}

void TPhoneBook::showSyncStatus(const QString& text) {
    stStatus1->setText(text);
    stStatus1->setToolTip(text);  // the panel is narrow for a sync's summary
}

void TPhoneBook::setReminderForm(std::function<void(const QString&)> open) {
    reminderForm_ = std::move(open);
    ED();
}

void TPhoneBook::setColumnChooser(std::function<bool(QWidget*)> choose) {
    columnChooser_ = std::move(choose);
    mPOpti->setEnabled(bool(columnChooser_));
}

void TPhoneBook::setPrompts(BookPrompts prompts) {
    prompts_ = std::move(prompts);
    const BookPrompts desktop = desktopPrompts(this);
    if (!prompts_.error) prompts_.error = desktop.error;
    if (!prompts_.openFile) prompts_.openFile = desktop.openFile;
    if (!prompts_.saveFile) prompts_.saveFile = desktop.saveFile;
}

void TPhoneBook::ColumCreate() {
    std::vector<BookField> fields;
    for (int f = FieldName; f < BookFieldCount; ++f)
        if (ini().Columns[size_t(f)]) fields.push_back(BookField(f));
    model_->setFields(fields);
    QHeaderView* header = lvBook->header();
    QList<int> keys;  // no key for the name column shown when no field is
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int field = fields.empty() ? -1 : fields[size_t(c)];
        keys << field;
        TFormPlace place{-1, -1, -1,
                         qRound(bookFieldWidth(model_->fieldOf(c)) * designScale(lvBook->font()))};
        if (field >= 0) {
            try {
                LoadPosition(QStringLiteral("Position\\PhoneBook\\Section%1").arg(field), place);
            } catch (const Exception& e) {
                tellError(e.message());
            }
        }
        header->resizeSection(c, qMax(0, place.Width));
    }
    placement_.setColumns(header, keys);
    header->setSortIndicatorShown(false);
}

void TPhoneBook::ItemsView() {
    model_->rebuild(qMax(0, cbGroup->currentIndex()));
    ++rebuilds_;
    lvBook->header()->setSortIndicatorShown(false);
    ED();
}

void TPhoneBook::ItemUpdate(int row, bool isNew, int index) {
    if (isNew)
        model_->append(index);
    else
        model_->refresh(row);
}

void TPhoneBook::ED() {
    const bool rows = model_->count() > 0;
    for (QToolButton* b : {sbDel, sbProp, sbInfo}) b->setEnabled(rows);
    for (QAction* a : {mPDel, mPProp, mPInfo, mPDial, mPStatus}) a->setEnabled(rows);
    // Dialing needs a port as well; the reminder command needs the reminder form.
    sbDial->setEnabled(rows && portActive_);
    sbReminder->setEnabled(rows && reminderForm_);
    mPReminder->setEnabled(rows && reminderForm_);
    const bool group = cbGroup->count() > 0 && cbGroup->currentIndex() > 0;
    sbDelGr->setEnabled(group);
    sbPropGr->setEnabled(group);
    const bool book = store().count() > 0;
    sbExport->setEnabled(book);
    mPExport->setEnabled(book);
    mPExportAll->setEnabled(book);
    mPExportShown->setEnabled(rows);
    mPExportSelected->setEnabled(lvBook->selectionModel()->hasSelection());
    stStatus0->setText(tr("Записей: %n", nullptr, model_->count()));
}

void TPhoneBook::MenuCreate() {
    mPGroupMenu->clear();
    const QIcon icon = themed("folder", QStyle::SP_DirIcon, this);
    for (int g = 0; g < store().groupCount(); ++g) {
        const QString text = g == 0 ? tr("[Общая]") : store().group(g).Text;
        // Titles may hold '&'; the menu must show them as they are.
        QAction* a = mPGroupMenu->addAction(
            icon, QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
        a->setObjectName(QStringLiteral("mPGroup%1").arg(g));
        connect(a, &QAction::triggered, this, [this, g] { SetGroup(g); });
    }
}

void TPhoneBook::fillSelector() {
    const QSignalBlocker block(cbGroup);
    const int keep = cbGroup->currentIndex();
    cbGroup->clear();
    // Position 0 is the built-in "all groups" row: its name is ours to translate.
    for (int g = 0; g < store().groupCount(); ++g)
        cbGroup->addItem(g == 0 ? tr("[Все группы]") : store().group(g).Text);
    if (keep >= 0 && keep < cbGroup->count()) cbGroup->setCurrentIndex(keep);
}

void TPhoneBook::setSelector(int position) {
    const QSignalBlocker block(cbGroup);
    cbGroup->setCurrentIndex(position);
}

QList<int> TPhoneBook::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : lvBook->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TPhoneBook::finishSaves() {
    tell(document_.finishSaves());
}

void TPhoneBook::tell(const Failures& failures) {
    for (const Failure& f : failures)
        prompts_.error(f.caption.isEmpty() ? tr("Ошибка") : f.caption, f.text);
}

void TPhoneBook::tellError(const QString& text) {
    tell({{Failure::Kind::File, text, false, {}}});
}

Failures TPhoneBook::closeForExit() {
    if (!isVisible()) return document_.finishSaves();
    const Failures failures = placement_.closeForExit(this);
    save();
    return failures + document_.finishSaves();
}

void TPhoneBook::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    emit shownChanged(true);
}

void TPhoneBook::closeEvent(QCloseEvent* event) {
    if (!placement_.closingForExit()) tell(placement_.saveForClose(this));
    QMainWindow::closeEvent(event);
    emit shownChanged(false);
    if (placement_.closingForExit()) return;
    save();
    finishSaves();
}

bool TPhoneBook::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvBook) {
        if (event->type() == QEvent::FocusIn) {
            // Only the keyboard moving here from elsewhere in the window: a click chooses
            // its own row, and a closing menu or the window coming back changes nothing.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
                selectFirstRow(lvBook);
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            sbAnswerClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TPhoneBook::lvBookColumnClick(int column) {
    if (model_->fields().empty() || column < 0 || column >= model_->columnCount()) return;
    const BookField field = model_->fieldOf(column);
    sortField_ = field + 1;
    stStatus1->setText(bookFieldCaption(field));
    model_->sortOn(field);
    QHeaderView* header = lvBook->header();
    header->setSortIndicator(column, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
}

}  // namespace zrk
