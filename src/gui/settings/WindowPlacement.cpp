#include "gui/settings/WindowPlacement.h"

#include "core/platform/Exception.h"
#include "core/settings/Positions.h"
#include "gui/windows/FailurePresenter.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScopedValueRollback>
#include <QWidget>

namespace zrk {
namespace {

// Through the one presenter: never modal, so a place that could not be kept holds up nothing,
// and owned by the main window, so the box outlives a dialog that closes.
void showPlacementError(const QString& text) {
    FailurePresenter::instance().show(
        {Failure::Kind::Settings, text, false,
         QCoreApplication::translate("zrk::WindowPlacement", "Ошибка")});
}

}  // namespace

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

bool WindowPlacement::restore(QWidget* window) const {
    TFormPlace place;
    LoadPosition(key_, place);
    // No check against the screen: a window is put back exactly where it was left. Never
    // left anywhere, it stays where it is, and a dialog then opens centred on its parent.
    const bool placed = place.Left != -1 || place.Top != -1;
    if (placed)
        window->move(place.Left != -1 ? place.Left : window->x(),
                     place.Top != -1 ? place.Top : window->y());
    if (resizable_ && place.Height > 0 && place.Width > 0)
        window->resize(place.Width, place.Height);
    if (!header_) return placed;
    for (int c = 0; c < header_->count(); ++c) {
        const int index = keyIndex(c);
        if (index < 0) continue;
        TFormPlace col{-1, -1, -1, header_->sectionSize(c)};
        LoadPosition(columnKey(index), col);
        if (col.Width >= 0) header_->resizeSection(c, col.Width);
    }
    return placed;
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

bool WindowPlacement::restoreOrReport(QWidget* window) const noexcept {
    try {
        return restore(window);
    } catch (const Exception& e) {
        showPlacementError(e.message());
        return false;
    }
}

void WindowPlacement::saveOrReport(QWidget* window) const noexcept {
    try {
        save(window);
    } catch (const Exception& e) {
        showPlacementError(e.message());
    }
}

Failures WindowPlacement::saveForClose(const QWidget* window) const noexcept {
    try {
        save(window);
    } catch (const Exception& e) {
        return {{Failure::Kind::Settings, e.message(), false, {}}};
    }
    return {};
}

Failures WindowPlacement::closeForExit(QWidget* window) {
    const Failures failures = saveForClose(window);
    const QScopedValueRollback quiet(closing_, true);
    window->close();
    return failures;
}

}  // namespace zrk
