// The book document without a window: its read on a worker, its saves and their failures.
#include "core/book/BookBytes.h"
#include "core/book/BookDocument.h"
#include "core/book/StoreTesting.h"
#include "core/book/WithoutRootOverride.h"
#include "core/platform/Registry.h"
#include "core/settings/Settings.h"

#include "SaveGate.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

using namespace zrk;
using namespace zrktest;

namespace {

QString firstEntry(const BookStore& book) {
    const BookEntry e = book.entry(0);
    return QString("%1:%2:%3:%4").arg(e.Name.text(), e.Phone.text()).arg(e.Status).arg(e.Group);
}

Failure fileFailure(const QString& text) {
    return {Failure::Kind::File, text, true, "Ошибка"};
}

}  // namespace

class TestBookDocument : public QObject {
    Q_OBJECT
private slots:
    void init() {
        box_ = std::make_unique<Sandbox>();
        RegistryFile::resetUser();
        ini() = TIni::defaults();
    }
    void cleanup() {
        RegistryFile::resetUser();
        box_.reset();
    }

    // The book arrives through a pipe 300 ms late. Who asks for a caller waits for it: never
    // a stranger who is in the book. The close waits as well.
    void whatNeedsTheBookWaitsForTheRead_data() {
        QTest::addColumn<bool>("lookup");
        QTest::newRow("a caller looked up") << true;
        QTest::newRow("the close") << false;
    }
    void whatNeedsTheBookWaitsForTheRead() {
        QFETCH(bool, lookup);
        QVERIFY(::mkfifo("book.phn", 0600) == 0);
        std::thread writer([bytes = fourPeople()] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const int fd = ::open("book.phn", O_WRONLY | O_CLOEXEC);
            if (fd < 0) return;
            [[maybe_unused]] const ssize_t n = ::write(fd, bytes.constData(), size_t(bytes.size()));
            ::close(fd);
        });
        BookDocument doc(BookDocument::Loading::InBackground);
        QSignalSpy loaded(&doc, &BookDocument::loaded);
        QVERIFY(!doc.isLoaded());
        QCOMPARE(doc.store().count(), 0);
        if (lookup)
            QCOMPARE(doc.whoCalls("222").name, QString("Борис"));
        else
            QCOMPARE(doc.close(), Failures());
        writer.join();
        QVERIFY(doc.isLoaded() && !doc.loadFailed());
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(doc.store().count(), 4);
    }

    // A save that fails keeps the file as it was and the change in memory; the next save,
    // with room again, writes it.
    void savesThatFailKeepTheChange_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("read-only directory") << "ro";
        QTest::newRow("full disk") << "full";
    }
    void savesThatFailKeepTheChange() {
        QFETCH(QString, fault);
        ini().PhoneBookFile = "dir/book.phn";
        QVERIFY(writeAll(ini().PhoneBookFile, fourPeople()));
        BookDocument doc;
        QSignalSpy failed(&doc, &BookDocument::failed);
        std::unique_ptr<FileSizeLimit> limit;
        if (fault == "ro") {
            QVERIFY(QFile::setPermissions("dir", QFile::ReadOwner | QFile::ExeOwner));
            // The save runs on the worker: that thread must lose root's override.
            BackgroundSave::setJobWrapper([](const std::function<void()>& run) {
                const WithoutRootOverride notRoot;
                run();
            });
        } else {
            limit = std::make_unique<FileSizeLimit>(1000);
            QVERIFY(limit->ok);
        }
        doc.store().setStatus(0, 2);
        doc.save();
        QTRY_COMPARE(failed.size(), 1);
        limit.reset();
        BackgroundSave::setJobWrapper({});
        QFile::setPermissions("dir", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(failed[0][0].value<Failure>(),
                 fileFailure(fault == "ro" ? "Ошибка создания dir/book.phn!"
                                           : "Ошибка записи dir/book.phn!"));
        QCOMPARE(readAll(ini().PhoneBookFile), fourPeople());
        QCOMPARE(firstEntry(doc.store()), QString("Анна:111:2:1"));
        QCOMPARE(filesIn("dir"), QStringList{"book.phn"});
        doc.save();
        QCOMPARE(doc.close(), Failures());
        QCOMPARE(readAll(ini().PhoneBookFile).mid(24 + 2 * 284 + 384, 4), le32(2));
    }

    // A failure is told once: by `failed` when it comes back before the close, else by the
    // close's return, and then never again.
    void failureToldOnceBySignalOrByTheClose_data() {
        QTest::addColumn<bool>("closeFirst");
        QTest::newRow("told, then the close") << false;
        QTest::newRow("the close first") << true;
    }
    void failureToldOnceBySignalOrByTheClose() {
        QFETCH(bool, closeFirst);
        QVERIFY(writeAll("book.phn", fourPeople()));
        BookDocument doc;
        QSignalSpy failed(&doc, &BookDocument::failed);
        ini().PhoneBookFile = "nodir/book.phn";
        QVERIFY(writeAll("nodir", "a file, not a folder"));
        doc.save();
        const Failure expected = fileFailure("Ошибка создания nodir/book.phn!");
        if (closeFirst) {
            QCOMPARE(doc.close(), Failures{expected});
        } else {
            QTRY_COMPARE(failed.size(), 1);
            QCOMPARE(failed[0][0].value<Failure>(), expected);
            QCOMPARE(doc.close(), Failures());
        }
        QCoreApplication::processEvents();
        QCOMPARE(failed.size(), closeFirst ? 0 : 1);
    }

    // Changes go on while a save is held in flight. Each save writes the book whole, as it
    // was when asked for; the many asked for meanwhile become one, with the last state.
    void savesMeanwhileAreMergedAndNeverHalfWritten() {
        QVERIFY(writeAll("book.phn", fourPeople()));
        BookDocument doc;
        QSignalSpy failed(&doc, &BookDocument::failed);
        SaveGate gate;
        QList<QByteArray> written;  // the file after each save
        gate.after = [&written] { written << readAll("book.phn"); };
        doc.store().RemoveItem(1);  // Борис goes
        doc.save();
        QVERIFY(gate.held());
        for (int i = 0; i < 12; ++i) {
            doc.store().setStatus(i % 3, i < 9 ? 1 : 2);
            doc.save();
        }
        doc.store().setGroup(2, 1);
        doc.save();
        QCOMPARE(readAll("book.phn"), fourPeople());  // nothing written yet

        gate.open();
        QCOMPARE(doc.close(), Failures());
        QCOMPARE(gate.ran, 2);
        const QByteArray groups =
            groupBytes(cp("Друзья"), "f.wav", 1) + groupBytes(cp("Работа"), "", 0);
        QCOMPARE(written.value(0), header(2) + groups + entryBytes({cp("Анна"), "111"}, 0, 1) +
                                       entryBytes({cp("Вера"), "333"}, 2, 1) +
                                       entryBytes({cp("Дина"), "444"}, 0, 2));
        QCOMPARE(written.value(1), header(2) + groups + entryBytes({cp("Анна"), "111"}, 2, 1) +
                                       entryBytes({cp("Вера"), "333"}, 2, 1) +
                                       entryBytes({cp("Дина"), "444"}, 2, 1));
        QCOMPARE(readAll("book.bak"), written.value(0));
        QCOMPARE(failed.size(), 0);
    }

    // An entry keeps its identity through edits, deletions of others, restarts and a book
    // another program rewrote (matched by number); a damaged side file is put aside and told.
    void entriesKeepTheirIdentity() {
        QVERIFY(writeAll("book.phn", fourPeople()));
        QHash<QString, QUuid> ids;  // by phone
        {
            BookDocument doc;
            doc.setSyncState("state");
            for (int i = 0; i < 4; ++i)
                ids.insert(doc.store().text(i, FieldPhone), doc.store().idOf(i));
            doc.store().RemoveItem(1);
            doc.store().AddItem(entry("Вера Павловна", "333", 2, 1), false, 1);
            doc.save();
            QCOMPARE(doc.close(), Failures());
        }
        auto same = [&ids](const BookDocument& doc) {
            for (int i = 0; i < doc.store().count(); ++i)
                if (doc.store().idOf(i) != ids.value(doc.store().text(i, FieldPhone))) return false;
            return true;
        };
        {
            BookDocument doc;
            QCOMPARE(doc.store().count(), 3);
            QVERIFY(same(doc));
            QCOMPARE(doc.syncState(), QByteArray("state"));
        }
        // Another program reorders the entries and renames one.
        QVERIFY(writeAll("book.phn", header(2) + groupBytes(cp("Друзья"), "f.wav", 1) +
                                         groupBytes(cp("Работа"), "", 0) +
                                         entryBytes({cp("Дина Ивановна"), "444"}, 0, 2) +
                                         entryBytes({cp("Анна"), "111"}, 0, 1) +
                                         entryBytes({cp("Вера"), "333"}, 2, 1)));
        {
            BookDocument doc;
            QVERIFY(same(doc));
        }
        QFile side("book.ids");
        QVERIFY(side.open(QIODevice::ReadWrite) && side.resize(side.size() / 2));
        side.close();
        BookDocument doc;
        QSignalSpy failed(&doc, &BookDocument::failed);
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(failed[0][0].value<Failure>().text.contains("book.ids.bad"));
        QVERIFY(QFile::exists("book.ids.bad"));
        QVERIFY(doc.syncState().isEmpty());
        QVERIFY(!doc.store().idOf(0).isNull());
    }

private:
    std::unique_ptr<Sandbox> box_;
};

QTEST_GUILESS_MAIN(TestBookDocument)
#include "tst_bookdocument.moc"
