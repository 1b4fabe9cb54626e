#pragma once
// The two compound controls of the options dialog: a colour list and a file name edit.
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include <functional>

class QToolButton;

namespace zrk {

// The named colours and, as its last item, any other colour through the colour dialog.
// Values are the settings' colours (0x00BBGGRR).
class ColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorBox(QWidget* parent = nullptr);

    quint32 colorRef() const;
    // A colour that has no name is added to the list, before "Другой цвет...".
    void setColorRef(quint32 ref);

    // Tests stand in for the colour dialog: it gets the current colour and returns the
    // chosen one, or an invalid colour when cancelled.
    static std::function<QColor(QWidget* parent, const QColor& current)>& colorDialog();

signals:
    void colorChanged();

private:
    void activatedItem(int index);
    int indexOf(quint32 ref) const;
    int otherIndex() const { return count() - 1; }

    int last_ = -1;
    int setIndex_ = -1;  // the item setColorRef chose, and the value it was given
    quint32 setRef_ = 0;
};

// An edit for a file name with a button that opens the file dialog in the working directory.
// A file chosen there is stored by ShortFileName: its bare name when it is the working
// directory's file (unless told otherwise).
class FileNameEdit : public QWidget {
    Q_OBJECT
public:
    explicit FileNameEdit(QWidget* parent = nullptr);

    QString text() const { return edit_->text(); }
    void setText(const QString& text) { edit_->setText(text); }
    // As the dialog was designed: "Caption (*.ext)|*.ext|...".
    void setFilter(const QString& pairs) { filter_ = pairs; }
    // Off: a file chosen in the working directory keeps its whole path too.
    void setShortNames(bool on) { shortNames_ = on; }
    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* button() const { return button_; }

    // Opens the file dialog, as the button does.
    void browse();

    // Tests stand in for the file dialog: it gets the folder and the filter and returns the
    // chosen file, or empty text when cancelled.
    static std::function<QString(QWidget* parent, const QString& dir, const QString& filter)>&
    fileDialog();

signals:
    void textChanged(const QString& text);

private:
    QLineEdit* edit_;
    QToolButton* button_;
    QString filter_;
    bool shortNames_ = true;
};

}  // namespace zrk
