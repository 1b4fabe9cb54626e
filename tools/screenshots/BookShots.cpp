// The phone book's windows for the screenshot tool: a small book with groups and every
// status, the book window showing several columns, and its three editors.
#include "gui/book/BookEditors.h"
#include "gui/book/ImportContacts.h"
#include "gui/book/PhoneBook.h"
#include "core/settings/Positions.h"
#include "core/settings/Settings.h"

#include <QFile>
#include <QTreeView>

namespace zrk::tools {

void writeSampleBook() {
    // The phone column as wide as a user would drag it for numbers with a long-distance code.
    SavePosition(QStringLiteral("Position\\PhoneBook\\Section1"), TFormPlace{-1, -1, -1, 120},
                 true);
    BookStore book;
    book.AddGroup(BookGroup::make(QStringLiteral("Семья"), QStringLiteral("family.wav"), 0), true);
    book.AddGroup(BookGroup::make(QStringLiteral("Работа"), {}, 1), true);
    book.AddGroup(BookGroup::make(QStringLiteral("Реклама"), {}, 3), true);
    struct Person {
        const char *name, *phone, *mail, *note;
        int status, group;
    };
    const Person people[] = {
        {"Иванов Иван Петрович", "495-123-45-67", "ivanov@mail.ru", "кум", 2, 1},
        {"Петрова Анна", "23-45-67", "anna@yandex.ru", "", 0, 1},
        {"Сидоров С. С.", "8-916-555-12-34", "", "бухгалтерия", 0, 2},
        {"Склад", "(495) 700-00-01", "sklad@firma.ru", "с 9 до 18", 0, 2},
        {"Окна и двери", "8-800-100-20-30", "", "не брать", 1, 3},
        {"Кузнецова Мария", "34-56-78", "masha@gmail.com", "", 0, 0},
        {"Такси", "940-00-00", "", "", 2, 0},
    };
    for (const Person& p : people) {
        BookEntry e = BookEntry::empty();
        e.Name.setText(QString::fromUtf8(p.name));
        e.Phone.setText(QString::fromUtf8(p.phone));
        e.EMail.setText(QString::fromUtf8(p.mail));
        e.Note.setText(QString::fromUtf8(p.note));
        e.Status = p.status;
        e.Group = p.group;
        if (p.group == 1) e.HomePage.setText(QStringLiteral("https://family.example.ru"));
        book.AddItem(e, true);
    }
    book.SaveList();
}

void saveBookShots(TPhoneBook& book, const QString& out,
                   void (*save)(QWidget*, const QString&, const char*)) {
    book.resize(700, 270);
    book.show();
    book.findChild<QTreeView*>(QStringLiteral("lvBook"))
        ->selectionModel()
        ->select(book.rows().index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    save(&book, out, "phone-book");

    TBookItem item({&book.document().store(), [] { return 1; }, {}}, &book);
    item.Item = book.document().store().entry(0);
    item.InitFormProp();
    item.show();
    save(&item, out, "book-item");

    TGroupItem group(&book);
    group.Item = book.document().store().group(1).Group;
    group.InitFormProp();
    group.show();
    save(&group, out, "group-item");

    TItemInfo info(&book);
    info.InitForm(book.document().store().entry(0));
    info.show();
    save(&info, out, "item-info");

    // The import preview of a phone's export: a number the book has, a contact with two
    // numbers, an address too long for its field.
    QFile vcf(QStringLiteral("phone.vcf"));
    if (!vcf.open(QIODevice::WriteOnly)) return;
    vcf.write(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Иванов Иван Петрович\r\n"
        "TEL;TYPE=CELL:+7 495 123-45-67\r\nCATEGORIES:Семья\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Орлов Андрей\r\nTEL;TYPE=CELL:+7 903 765-43-21\r\n"
        "item1.TEL:+7 496 111-22-33\r\nitem1.X-ABLabel:Дача\r\nEMAIL:orlov@mail.ru\r\n"
        "CATEGORIES:Друзья\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Смирнова Ольга\r\nORG:ООО Ромашка\r\n"
        "TEL;TYPE=WORK:+7 (812) 555-01-02\r\nEMAIL:olga@romashka.ru\r\n"
        "ADR;TYPE=WORK:;;Большая Морская улица, дом 12, строение 3, офис 405;Санкт-Петербург;;"
        "190000;Россия\r\nCATEGORIES:Работа\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Петров;Иван\r\nTEL;HOME:8 (495) 700-11-22\r\n"
        "END:VCARD\r\n");
    vcf.close();
    ContactsFile file;
    if (!file.load(QStringLiteral("phone.vcf"))) return;
    TImportContacts preview(file, book.document().store(), &book);
    preview.show();
    save(&preview, out, "import-preview");
}

}  // namespace zrk::tools
