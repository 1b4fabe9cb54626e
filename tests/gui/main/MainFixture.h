#pragma once
// A main window with its run windows on a fake serial device, in a sandbox of its own.
#include "core/book/BookStore.h"
#include "core/call/CallDesk.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/RusCID.h"
#include "core/platform/Registry.h"
#include "gui/desktop/Sound.h"
#include "core/platform/Values.h"
#include "core/serial/FakeSerialDevice.h"
#include "core/settings/Settings.h"
#include "gui/windows/AllScreen.h"
#include "gui/reminders/Reminder.h"
#include "gui/windows/WinAlert.h"

#include "BookSamples.h"
#include "TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

// What the window would have played.
class RecordingSound final : public zrk::Sound {
public:
    void play(const QString& f) override { played.append(f); }
    void stop() override { ++stops; }
    void playSpeakerMelody(int times) override { melodies += times; }
    QStringList played;
    int stops = 0;
    int melodies = 0;
};

// Callers of every status, and one of group 1, which has a sound of its own.
inline void callersOfEveryStatus(zrk::BookStore& b) {
    b.AddGroup(group("Музыка", zrk::ActionNone, "band.wav"), true);
    b.AddItem(entry("Обычный", "100000", zrk::StatusNormal), true);
    b.AddItem(entry("Плохой", "200000", zrk::StatusBad), true);
    b.AddItem(entry("Важный", "300000", zrk::StatusPriority), true);
    b.AddItem(entry("Гитарист", "400000", zrk::StatusBad, 1), true);
}

// Callers in a group of friends, one of a group hung up on, and a priority caller.
inline void callersInGroups(zrk::BookStore& b) {
    b.AddGroup(group("Друзья", zrk::ActionNone), true);                // 1
    b.AddGroup(group("Спам", zrk::ActionHangUp), true);                // 2
    b.AddGroup(group("Музыка", zrk::ActionNone, "band.wav"), true);  // 3
    b.AddItem(entry("Иванов Иван", "345678", zrk::StatusNormal, 1), true);
    b.AddItem(entry("Продавец", "111111", zrk::StatusNormal, 2), true);
    b.AddItem(entry("Начальник", "22-22-22", zrk::StatusPriority, 0), true);
    b.AddItem(entry("Гитарист", "333333", zrk::StatusBad, 3), true);
}

// A form closed with its button `name`, as the user closes it.
inline int press(QDialog& form, const char* name) {
    form.findChild<QPushButton*>(QLatin1String(name))->click();
    return form.result();
}

struct MainFixture {
    // `storeBody`: extra lines of the settings store; `book`: entries to put in the book.
    explicit MainFixture(const QByteArray& storeBody = {}, bool dsr = true,
                         const std::function<void(zrk::BookStore&)>& book = {}) {
        zrk::RegistryFile::resetUser();
        zrktest::writeAll(box.registryPath(),
                          "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n" +
                              // Shown, unless the case is about starting hidden.
                              (storeBody.contains("\"Minimized\"")
                                   ? QByteArray()
                                   : QByteArray("\"Minimized\"=dword:00000000\n")) +
                              storeBody);
        zrk::RegistryFile::resetUser();
        if (book) {
            zrk::BookStore store;
            book(store);
            store.SaveList();
        }
        device = std::make_shared<FakeSerialDevice>();
        if (dsr) device->status = zrk::kMsDsrOn;
        bookDocument = std::make_unique<zrk::BookDocument>();
        desk = std::make_unique<zrk::CallDesk>(device);
        // Wired as the program wires them: the book is asked once it has been read.
        desk->setLookup([this](const QString& number) { return bookDocument->whoCalls(number); });
        desk->setNumberReminder([this](const QString& number) {
            if (reminders) reminders->document().raiseForNumber(number);
        });
        window = std::make_unique<zrk::TRusCID>(*desk);
        window->setSound(sound);
        phoneBook = std::make_unique<zrk::TPhoneBook>(*bookDocument, window.get());
        alert = std::make_unique<zrk::TWinAlert>(*window, window.get());
        calls = std::make_unique<zrk::TListRing>(*window, window.get());
        allScreen = std::make_unique<zrk::TAllScreen>(*window, window.get());
        window->setRunWindows({phoneBook.get(), nullptr, nullptr, alert.get(), calls.get(),
                               allScreen.get(), nullptr});
    }
    ~MainFixture() {
        window->FormClose();
        allScreen.reset();
        calls.reset();
        alert.reset();
        phoneBook.reset();
        window.reset();
        desk.reset();
        zrk::RegistryFile::resetUser();
    }

    // The reminders of the run, read from the file when first asked for.
    zrk::ReminderDocument& reminderDocument() {
        if (!reminderFile) reminderFile = std::make_unique<zrk::ReminderDocument>();
        return *reminderFile;
    }

    // Through the port, as the modem's bytes arrive: one event per read buffer's worth.
    void receive(const QByteArray& bytes) {
        device->input.append(bytes);
        while (!device->input.isEmpty()) {
            const qsizetype before = device->input.size();
            device->raise(zrk::kEvRxChar);
            QTRY_VERIFY_WITH_TIMEOUT(device->input.size() < before, 5000);
        }
    }
    // Straight to the desk, as one batch read from the port.
    void feed(const QByteArray& bytes) {
        desk->processBatch(bytes.constData(), qint32(bytes.size()));
    }
    QByteArray takeSent() {
        QByteArray out = device->output;
        device->output.clear();
        return out;
    }
    // The main window's part named `name`, as the program names it.
    template <class T>
    T* child(const char* name) const {
        T* found = window->findChild<T*>(QLatin1String(name));
        if (!found) qFatal("no part %s", name);
        return found;
    }
    // One tick of the window's timer `name`, as the timer would give it.
    void tick(const char* name) const {
        QMetaObject::invokeMethod(child<QTimer>(name), "timeout");
    }
    // The book's forms answered by `fill`, its questions with "no", its warnings unseen.
    void answerBookForms(const std::function<int(QDialog&)>& fill) {
        zrk::BookPrompts p;
        p.exec = fill;
        p.ask = [](const QString&, const QString&) { return QMessageBox::No; };
        p.warn = [](const QString&, const QString&) {};
        phoneBook->setPrompts(p);
    }
    QString info() const { return child<QLabel>("pInfo")->text(); }
    QString number() const { return child<QLabel>("pNumber")->text(); }
    QTreeWidget* list() const { return calls->findChild<QTreeWidget*>("lvRing"); }

    zrktest::Sandbox box;
    std::shared_ptr<FakeSerialDevice> device;
    std::shared_ptr<RecordingSound> sound = std::make_shared<RecordingSound>();
    std::unique_ptr<zrk::BookDocument> bookDocument;
    std::unique_ptr<zrk::ReminderDocument> reminderFile;  // made by reminderDocument()
    std::unique_ptr<zrk::CallDesk> desk;
    std::unique_ptr<zrk::TRusCID> window;
    zrk::TReminder* reminders = nullptr;  // raised by a caller's number, where a case has them
    std::unique_ptr<zrk::TPhoneBook> phoneBook;
    std::unique_ptr<zrk::TWinAlert> alert;
    std::unique_ptr<zrk::TListRing> calls;
    std::unique_ptr<zrk::TAllScreen> allScreen;
};
