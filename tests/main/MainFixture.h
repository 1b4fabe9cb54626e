#pragma once
// A main window with its run windows on a fake serial device, in a sandbox of its own.
#include "core/book/BookStore.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "gui/main/RusCID.h"
#include "core/platform/Registry.h"
#include "gui/desktop/Sound.h"
#include "core/platform/Values.h"
#include "serial/FakeSerialDevice.h"
#include "core/settings/Settings.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/WinAlert.h"

#include "TestSupport.h"

#include <QLabel>
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
        window = std::make_unique<zrk::TRusCID>(device);
        window->setSound(sound);
        phoneBook = std::make_unique<zrk::TPhoneBook>(window.get());
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
        zrk::RegistryFile::resetUser();
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
    QByteArray takeSent() {
        QByteArray out = device->output;
        device->output.clear();
        return out;
    }
    QString info() const { return window->pInfo->text(); }
    QString number() const { return window->pNumber->text(); }
    QTreeWidget* list() const { return calls->findChild<QTreeWidget*>("lvRing"); }

    zrktest::Sandbox box;
    std::shared_ptr<FakeSerialDevice> device;
    std::shared_ptr<RecordingSound> sound = std::make_shared<RecordingSound>();
    std::unique_ptr<zrk::TRusCID> window;
    std::unique_ptr<zrk::TPhoneBook> phoneBook;
    std::unique_ptr<zrk::TWinAlert> alert;
    std::unique_ptr<zrk::TListRing> calls;
    std::unique_ptr<zrk::TAllScreen> allScreen;
};

inline zrk::BookEntry entry(const char* name, const char* phone, int status, int group = 0) {
    zrk::BookEntry e = zrk::BookEntry::empty();
    e.Name.setText(QString::fromUtf8(name));
    e.Phone.setText(QString::fromUtf8(phone));
    e.Status = status;
    e.Group = group;
    return e;
}

inline zrk::BookGroup group(const char* title, int action, const char* sound = "") {
    zrk::BookGroup g = zrk::BookGroup::empty();
    g.Title.setText(QString::fromUtf8(title));
    g.Sound.setText(QString::fromUtf8(sound));
    g.Action = action;
    return g;
}
