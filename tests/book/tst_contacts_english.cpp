// The phone book's contacts commands with the program's English translation installed, driven
// as a user drives them: every text of the dialogs they open is read back, and none of them may
// be left in Russian (the files and the book hold Latin names only).
#include "book/BookWindowTesting.h"
#include "platform/Registry.h"

#include <QAbstractItemView>
#include <QMenu>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

using namespace zrk;
using namespace zrktest;

namespace {

// What a dialog shows: its title, labels, buttons, choices, menus, column titles, cells and
// tooltips.
QStringList shownTexts(const QWidget& w) {
    QStringList out{w.windowTitle()};
    for (const QLabel* l : w.findChildren<QLabel*>()) out << l->text() << l->toolTip();
    for (const QAbstractButton* b : w.findChildren<QAbstractButton*>()) out << b->text();
    for (const QComboBox* c : w.findChildren<QComboBox*>()) {
        out << c->toolTip();
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    }
    for (const QAction* a : w.findChildren<QAction*>()) out << a->text();
    for (const QAbstractItemView* v : w.findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* m = v->model();
        for (int c = 0; c < m->columnCount(); ++c)
            out << m->headerData(c, Qt::Horizontal).toString();
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                out << m->index(r, c).data().toString()
                    << m->index(r, c).data(Qt::ToolTipRole).toString();
    }
    out.removeAll(QString());
    return out;
}

// A book of Latin names; Old holds the mobile that the vCard below brings again.
QByteArray latinBook() {
    return header(1) + groupBytes("Friends", "", 0) + entryBytes({"Old", "89037654321"}, 2, 1);
}

// A repeated number, a new one, and a card cut off before its end.
const QByteArray kCards =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Orlov\r\nTEL;TYPE=CELL:+7 903 765-43-21\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Novikov\r\nTEL:+7 903 000-00-01\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cut\r\nTEL:+7 903 000-00-02\r\n";

}  // namespace

class TestContactsEnglish : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(english_.load(QStringLiteral("zrk-pro_en"), QStringLiteral(ZRK_QM_DIR)));
        QCoreApplication::installTranslator(&english_);
    }
    void init() {
        box_ = std::make_unique<Sandbox>();
        RegistryFile::resetUser();
        ini() = TIni::defaults();
    }
    void cleanup() {
        RegistryFile::resetUser();
        box_.reset();
    }

    // Each row chooses `file` (or exports into it) and reads back the dialogs' titles, the
    // errors told, and the texts of the last dialog, which is then cancelled.
    void contactsInEnglish_data() {
        QTest::addColumn<bool>("exporting");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<QString>("error");  // the start of the error told, or none
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("not a vCard")
            << false << "x.vcf" << QByteArray("hello\r\n") << QStringList{"Import contacts"}
            << "Error: x.vcf: Line 1: this is not a vCard file (no BEGIN:VCARD line)."
            << QStringList{};
        QTest::newRow("CSV quote left open")
            << false << "a.csv" << QByteArray("Name,Phone\r\nLis,\"123\r\n")
            << QStringList{"Import contacts"}
            << "Error: a.csv: Line 2: a quote opened here is not closed." << QStringList{};
        QTest::newRow("export into a folder's name")
            << true << "out.vcf" << QByteArray() << QStringList{"Export contacts"}
            << "Error: Error writing " << QStringList{};
        QTest::newRow("column step: a header the program does not know")
            << false << "b.csv" << QByteArray("Who;Where\r\nLis;Moscow\r\n")
            << QStringList{"Import contacts", "File columns"} << ""
            << QStringList{"File columns",
                           "The program does not know this file's header. Say what each column "
                           "holds; there may be several phone columns.",
                           "Column",
                           "First values",
                           "Holds",
                           "[not needed]",
                           "Full name",
                           "Last name",
                           "First name",
                           "Phone",
                           "Work phone",
                           "Address",
                           "Note",
                           "Choose at least one column with a phone number.",
                           "OK",
                           "Cancel"};
        QTest::newRow("preview: a repeat, a new number, a damaged card")
            << false << "r.vcf" << kCards << QStringList{"Import contacts", "Import contacts"} << ""
            << QStringList{"Import contacts",
                           "File: r.vcf (1 damaged entry skipped)",
                           "&Group:",
                           "[From the file]",
                           "[General]",
                           "&Repeats:",
                           "Skip",
                           "Replace",
                           "Add",
                           "&Skip",
                           "&Replace",
                           "&Add",
                           "Name",
                           "Phone",
                           "Work",
                           "Group",
                           "Line",
                           "In the book",
                           "Action",
                           "Old (89037654321)",
                           "This number is in the book already: Old (89037654321)",
                           "To be added: 1, replaced: 0, skipped: 1",
                           "OK",
                           "Cancel"};
    }
    void contactsInEnglish() {
        QFETCH(bool, exporting);
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, dialogs);
        QFETCH(QString, error);
        QFETCH(QStringList, texts);
        if (exporting)
            QVERIFY(QDir().mkpath(name + "/inside"));
        else
            QVERIFY(writeAll(name, file));
        BookWindow w(latinBook());
        w.book->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.book.get()));
        w.files << name;
        QStringList shown;
        const auto readAndCancel = [&shown](QDialog& d) {
            shown = shownTexts(d);
            d.reject();
        };
        w.answers << readAndCancel << readAndCancel;
        w.trigger(exporting ? "mPExportAll" : "mPImport");
        QCOMPARE(w.dialogs, dialogs);
        if (error.isEmpty()) {
            QVERIFY(w.messages.shown.isEmpty());
        } else {
            QCOMPARE(w.messages.shown.size(), 1);
            QVERIFY2(w.messages.shown.first().startsWith(error), qPrintable(w.messages.shown[0]));
        }
        for (const QString& t : texts) QVERIFY2(shown.contains(t), qPrintable(t));
        const QRegularExpression russian(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
        for (const QString& t : shown) QVERIFY2(!t.contains(russian), qPrintable(t));
        if (!exporting) QVERIFY2(!w.messages.shown.join("").contains(russian), qPrintable(error));
    }

private:
    QTranslator english_;
    std::unique_ptr<Sandbox> box_;
};

QTEST_MAIN(TestContactsEnglish)
#include "tst_contacts_english.moc"
