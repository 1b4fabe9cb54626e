#include "gui/settings/AddressBookPage.h"

#include "ui_AddressBookPage.h"

#include "core/contacts/SyncAccount.h"
#include "core/platform/Keyring.h"
#include "core/settings/Settings.h"
#include "gui/windows/FailurePresenter.h"

#include <QThread>

namespace zrk {

AddressBookPage::AddressBookPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::AddressBookPage>(this)) {
    bind(ui_->eCardDavUrl, s, &TIni::CardDavUrl);
    bind(ui_->eCardDavUser, s, &TIni::CardDavUser);
    bind(ui_->eCardDavGroup, s, &TIni::CardDavGroup);
    bind(ui_->cbCardDavAllowHttp, s, &TIni::CardDavAllowHttp);
    storedFile_ = s.CardDavPasswordFile;
    ui_->eCardDavPasswordFile->setText(s.CardDavPasswordFile);
    ui_->eCardDavPasswordFile->setFilter(tr("Все файлы (*)|*"));
    ui_->seCardDavInterval->setValue(s.CardDavInterval);
    connect(ui_->eCardDavPasswordFile, &FileNameEdit::textChanged, this,
            &AddressBookPage::checkPasswordFile);
    connect(ui_->bCheck, &QPushButton::clicked, this, &AddressBookPage::check);
    checkPasswordFile();
}

AddressBookPage::~AddressBookPage() {
    if (!checking_) return;
    cancel_ = true;
    checking_->wait();
}

void AddressBookPage::checkPasswordFile() {
    const QString path = ui_->eCardDavPasswordFile->text().trimmed();
    refusedFile_.clear();
    // The file set before is the sync's business: an untouched OK does not nag about it.
    if (!path.isEmpty() && path != storedFile_) contacts::readPasswordFile(path, &refusedFile_);
    ui_->lFileNote->setText(refusedFile_);
    ui_->lFileNote->setVisible(!refusedFile_.isEmpty());
}

void AddressBookPage::storeRest(TIni& s) {
    s.CardDavUrl = s.CardDavUrl.trimmed();
    s.CardDavInterval = ui_->seCardDavInterval->value();
    // A file others may read keeps the one set before: the refusal is told at save().
    if (refusedFile_.isEmpty()) s.CardDavPasswordFile = ui_->eCardDavPasswordFile->text().trimmed();
}

void AddressBookPage::save() {
    FailurePresenter& presenter = FailurePresenter::instance();
    if (!refusedFile_.isEmpty())
        presenter.show(Failure::make(Failure::Kind::Settings,
                                     tr("Файл пароля не принят: %1").arg(refusedFile_)));
    const QString password = ui_->ePassword->text();
    if (password.isEmpty()) return;
    // The keyring may take a while to answer: the dialog closes meanwhile, the presenter
    // tells how it went.
    auto problem = std::make_shared<QString>();
    QThread* writer = QThread::create([key = contacts::keyringKey(ini()), password, problem] {
        writeSecret(key, password, problem.get());
    });
    connect(writer, &QThread::finished, &presenter, [writer, problem] {
        writer->deleteLater();
        if (problem->isEmpty()) return;
        FailurePresenter::instance().show(Failure::make(
            Failure::Kind::Settings,
            tr("Пароль адресной книги не сохранён в связке ключей: %1").arg(*problem)));
    });
    writer->start();
}

void AddressBookPage::check() {
    if (checking_) return;
    TIni s = ini();
    store(s);
    s.CardDavPasswordFile = ui_->eCardDavPasswordFile->text().trimmed();
    const QString typed = ui_->ePassword->text();
    ui_->bCheck->setEnabled(false);
    ui_->lCheckResult->setText(tr("Проверка…"));
    auto answer = std::make_shared<QString>();
    cancel_ = false;
    checking_ = QThread::create([s, typed, answer, cancel = &cancel_] {
        QString problem;
        std::optional<dav::Account> account;
        if (typed.isEmpty()) {
            account = contacts::syncAccount(s, &problem);
        } else {
            // The password typed goes before the file and the keyring: neither is asked.
            TIni bare = s;
            bare.CardDavUser.clear();
            bare.CardDavPasswordFile.clear();
            account = contacts::syncAccount(bare, &problem);
            if (account) {
                account->user = s.CardDavUser;
                account->password = typed;
            }
        }
        if (!account) {
            *answer = problem;
            return;
        }
        dav::DavClient client(*account, cancel);
        std::optional<dav::Error> error = client.discover();
        dav::Result<QList<dav::Resource>> cards;
        if (!error) {
            cards = client.listEtags();
            error = cards.error;
        }
        *answer =
            error ? error->text
                  : tr("Найдена адресная книга «%1»: карточек %2")
                        .arg(client.displayName().isEmpty() ? client.addressBook().toDisplayString()
                                                            : client.displayName())
                        .arg(cards.value.size());
    });
    connect(checking_, &QThread::finished, this, [this, answer] {
        checking_->wait();
        delete checking_;
        checking_ = nullptr;
        ui_->lCheckResult->setText(*answer);
        ui_->bCheck->setEnabled(true);
    });
    checking_->start();
}

}  // namespace zrk
