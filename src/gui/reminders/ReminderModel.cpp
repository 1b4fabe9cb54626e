#include "gui/reminders/ReminderModel.h"

#include "core/reminders/ReminderRules.h"

#include <QPainter>

namespace zrk {
namespace {

// The two row pictures: a clock for a reminder by date, a handset's "#" for one by number.
QIcon kindIcon(int kind) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (kind == ReminderByDate) {
        p.setPen(QPen(QColor(0, 0, 128), 1.4));
        p.setBrush(QColor(255, 255, 224));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    } else {
        p.setPen(QPen(QColor(0, 112, 0), 1.6));
        p.drawLine(QPointF(6, 2), QPointF(4.5, 14));
        p.drawLine(QPointF(11.5, 2), QPointF(10, 14));
        p.drawLine(QPointF(2, 6), QPointF(14, 6));
        p.drawLine(QPointF(2, 10.5), QPointF(14, 10.5));
    }
    return QIcon(pm);
}

}  // namespace

ReminderModel::ReminderModel(const ReminderRows& rows, QObject* parent)
    : QAbstractTableModel(parent), list_(rows.list()), icons_{kindIcon(0), kindIcon(1)} {
    connect(&rows, &ReminderRows::aboutToReset, this, [this] { beginResetModel(); });
    connect(&rows, &ReminderRows::wasReset, this, [this] { endResetModel(); });
    connect(&rows, &ReminderRows::aboutToAppend, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(&rows, &ReminderRows::appended, this, [this] { endInsertRows(); });
    connect(&rows, &ReminderRows::aboutToRemove, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(&rows, &ReminderRows::removed, this, [this] { endRemoveRows(); });
    connect(&rows, &ReminderRows::changed, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    });
}

int ReminderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.count();
}

int ReminderModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReminderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.count()) return {};
    const ReminderRecord& r = list_.record(index.row());
    if (role == Qt::DisplayRole) return rowTexts(r)[size_t(index.column())];
    if (role == Qt::DecorationRole && index.column() == ColKind)
        return icons_[r.Kind == ReminderByDate ? 1 : 0];
    return {};
}

QVariant ReminderModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    static const char* captions[] = {QT_TR_NOOP("Тип"), QT_TR_NOOP("Дата/Время"),
                                     QT_TR_NOOP("Номер"), QT_TR_NOOP("Текст")};
    return tr(captions[section]);
}

}  // namespace zrk
