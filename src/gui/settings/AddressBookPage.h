#pragma once
// AddressBookPage: the options page "Адресная книга": the CardDAV address book the phone book
// syncs with, how often, and a check of it. The password goes to the keyring, never to the
// settings file.
#include "gui/settings/OptionsPage.h"

#include <atomic>
#include <memory>

class QThread;

namespace Ui {
class AddressBookPage;
}

namespace zrk {

class AddressBookPage : public OptionsPage {
    Q_OBJECT
public:
    explicit AddressBookPage(const TIni& settings, QWidget* parent = nullptr);
    // A check still running is cancelled and waited for.
    ~AddressBookPage() override;

    // Writes a password typed here to the keyring on a worker; a failure is told.
    void save() override;
    // Tries the address book with the values on the page; the answer comes in the page.
    void check();

private:
    void storeRest(TIni& settings) override;
    void checkPasswordFile();

    FormPtr<Ui::AddressBookPage> ui_;
    QString storedFile_;
    QString refusedFile_;  // why the password file typed was not taken
    QThread* checking_ = nullptr;
    std::atomic<bool> cancel_{false};
};

}  // namespace zrk
