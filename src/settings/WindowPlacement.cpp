#include "settings/WindowPlacement.h"

#include "platform/Exception.h"
#include "platform/UserMessages.h"
#include "settings/Positions.h"

#include <QHeaderView>
#include <QWidget>

namespace zrk {

void WindowPlacement::setColumns(QHeaderView* header, QList<int> keyIndexes) {
    header_ = header;
    keyIndexes_ = std::move(keyIndexes);
}

int WindowPlacement::keyIndex(int column) const {
    if (keyIndexes_.isEmpty()) return column;
    return column < keyIndexes_.size() ? keyIndexes_[column] : -1;
}

QString WindowPlacement::columnKey(int index) const {
    return key_ + QStringLiteral("\\Section%1").arg(index);
}

void WindowPlacement::restore(QWidget* window) const {
    TFormPlace place{window->x(), window->y(), window->height(), window->width()};
    LoadPosition(key_, place);
    // No check against the screen: a window is put back exactly where it was left.
    window->move(place.Left, place.Top);
    if (resizable_ && place.Height > 0 && place.Width > 0) window->resize(place.Width, place.Height);
    if (!header_) return;
    for (int c = 0; c < header_->count(); ++c) {
        const int index = keyIndex(c);
        if (index < 0) continue;
        TFormPlace col{-1, -1, -1, header_->sectionSize(c)};
        LoadPosition(columnKey(index), col);
        if (col.Width >= 0) header_->resizeSection(c, col.Width);
    }
}

void WindowPlacement::save(const QWidget* window) const {
    if (!resizable_) {
        SavePosition(key_, TFormPlace{window->x(), window->y(), -1, -1}, false);
    } else if (!window->isMaximized()) {
        SavePosition(key_, TFormPlace{window->x(), window->y(), window->height(), window->width()},
                     true);
    }
    if (!header_) return;
    for (int c = 0; c < header_->count(); ++c) {
        const int index = keyIndex(c);
        if (index >= 0 && !header_->isSectionHidden(c))
            SavePosition(columnKey(index), TFormPlace{-1, -1, -1, header_->sectionSize(c)}, true);
    }
}

void WindowPlacement::restoreOrReport(QWidget* window) const noexcept {
    try {
        restore(window);
    } catch (const Exception& e) {
        showError(e.message());
    }
}

void WindowPlacement::saveOrReport(const QWidget* window) const noexcept {
    try {
        save(window);
    } catch (const Exception& e) {
        showError(e.message());
    }
}

}  // namespace zrk
