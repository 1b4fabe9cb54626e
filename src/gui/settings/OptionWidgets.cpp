#include "gui/settings/OptionWidgets.h"

#include "core/platform/ShortFileName.h"
#include "gui/desktop/ColorRef.h"
#include "core/settings/OptionsRules.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace zrk {
namespace {

struct NamedColour {
    quint32 ref;
    const char* name;
};

// The sixteen basic colours, as the earlier versions offered them.
constexpr NamedColour kNamedColours[] = {
    {0x000000, QT_TRANSLATE_NOOP("zrk::ColorBox", "Черный")},
    {0x000080, QT_TRANSLATE_NOOP("zrk::ColorBox", "Темно-красный")},
    {0x008000, QT_TRANSLATE_NOOP("zrk::ColorBox", "Зеленый")},
    {0x008080, QT_TRANSLATE_NOOP("zrk::ColorBox", "Оливковый")},
    {0x800000, QT_TRANSLATE_NOOP("zrk::ColorBox", "Темно-синий")},
    {0x800080, QT_TRANSLATE_NOOP("zrk::ColorBox", "Фиолетовый")},
    {0x808000, QT_TRANSLATE_NOOP("zrk::ColorBox", "Сине-зеленый")},
    {0x808080, QT_TRANSLATE_NOOP("zrk::ColorBox", "Серый")},
    {0xC0C0C0, QT_TRANSLATE_NOOP("zrk::ColorBox", "Серебристый")},
    {0x0000FF, QT_TRANSLATE_NOOP("zrk::ColorBox", "Красный")},
    {0x00FF00, QT_TRANSLATE_NOOP("zrk::ColorBox", "Салатовый")},
    {0x00FFFF, QT_TRANSLATE_NOOP("zrk::ColorBox", "Желтый")},
    {0xFF0000, QT_TRANSLATE_NOOP("zrk::ColorBox", "Синий")},
    {0xFF00FF, QT_TRANSLATE_NOOP("zrk::ColorBox", "Малиновый")},
    {0xFFFF00, QT_TRANSLATE_NOOP("zrk::ColorBox", "Голубой")},
    {0xFFFFFF, QT_TRANSLATE_NOOP("zrk::ColorBox", "Белый")},
};

QIcon swatch(quint32 ref) {
    QPixmap pm(14, 14);
    pm.fill(fromColorRef(ref));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 13, 13);
    return QIcon(pm);
}

}  // namespace

std::function<QColor(QWidget*, const QColor&)>& ColorBox::colorDialog() {
    static std::function<QColor(QWidget*, const QColor&)> f = [](QWidget* parent, const QColor& c) {
        return QColorDialog::getColor(c, parent, ColorBox::tr("Цвет"));
    };
    return f;
}

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent) {
    for (const NamedColour& c : kNamedColours) addItem(swatch(c.ref), tr(c.name), c.ref);
    addItem(tr("Другой цвет..."));
    connect(this, &QComboBox::activated, this, &ColorBox::activatedItem);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index != otherIndex()) {
            last_ = index;
            emit colorChanged();
        }
    });
}

quint32 ColorBox::colorRef() const {
    if (last_ >= 0 && last_ == setIndex_) return setRef_;
    return last_ >= 0 ? itemData(last_).toUInt() : 0;
}

int ColorBox::indexOf(quint32 ref) const {
    for (int i = 0; i < otherIndex(); ++i)
        if (itemData(i).toUInt() == ref) return i;
    return -1;
}

void ColorBox::setColorRef(quint32 ref) {
    // The high byte (a system colour from a Windows export) is not drawn, but kept: a colour
    // left as it was is given back as it was.
    const quint32 exact = ref;
    ref &= 0x00FFFFFF;
    int i = indexOf(ref);
    if (i < 0) {
        const QColor c = fromColorRef(ref);
        insertItem(otherIndex(), swatch(ref), c.name(QColor::HexRgb).toUpper(), ref);
        i = otherIndex() - 1;
    }
    setIndex_ = i;
    setRef_ = exact;
    setCurrentIndex(i);
}

void ColorBox::activatedItem(int index) {
    if (index != otherIndex()) return;
    const QColor chosen = colorDialog()(this, fromColorRef(colorRef()));
    if (chosen.isValid())
        setColorRef(toColorRef(chosen));
    else
        setCurrentIndex(last_);  // cancelled: the colour stays
}

std::function<QString(QWidget*, const QString&, const QString&)>& FileNameEdit::fileDialog() {
    static std::function<QString(QWidget*, const QString&, const QString&)> f =
        [](QWidget* parent, const QString& dir, const QString& filter) {
            // Qt's dialog never changes the working directory.
            return QFileDialog::getOpenFileName(parent, QString(), dir, filter);
        };
    return f;
}

FileNameEdit::FileNameEdit(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    edit_ = new QLineEdit(this);
    button_ = new QToolButton(this);
    button_->setText(QStringLiteral("..."));
    button_->setToolTip(tr("Выбрать файл"));
    row->addWidget(edit_, 1);
    row->addWidget(button_);
    setFocusProxy(edit_);
    connect(edit_, &QLineEdit::textChanged, this, &FileNameEdit::textChanged);
    connect(button_, &QToolButton::clicked, this, &FileNameEdit::browse);
}

void FileNameEdit::browse() {
    // The data files lie in the working directory; the program's own folder is a system one.
    const QString chosen = fileDialog()(this, QDir::currentPath(), fileDialogFilter(filter_));
    if (!chosen.isEmpty()) setText(shortNames_ ? ShortFileName(chosen) : chosen);
}

}  // namespace zrk
