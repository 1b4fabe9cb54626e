#pragma once
// TListRing: the call list window, the calls of this run.
// Newest last: call back, remove, clear, open the call log. Lives for the whole run, hidden until
// the main window shows it; rows are added whether it is shown or not and are kept only in memory.
#include "gui/settings/WindowPlacement.h"

#include <QDateTime>
#include <QMainWindow>

#include <functional>

class QLabel;
class QToolButton;
class QTreeWidget;

namespace zrk {

class Line;

class TListRing : public QMainWindow {
    Q_OBJECT
public:
    // Restores the stored place, size and column widths ("Position\ListRings"); a stored
    // value of the wrong type raises ERegistryException.
    explicit TListRing(Line& line, QWidget* parent = nullptr);

    enum Column { ColNumber, ColTime, ColDate, ColStatus, ColName, ColLine, ColumnCount };

    // One row for an identified call: the number as displayed, now, the status word, the
    // phone-book name and, for a call from another of the office's lines, its label (the
    // column shows from the first such call on).
    // `when`: the call's time where it is not now (a call from the server's log).
    void AddItem(const QString& number, const QString& name, int status, const QString& line = {},
                 const QDateTime& when = {});
    // The row of the call listed as `number` at `when` is marked missed; none such: nothing.
    void markMissed(const QString& number, const QDateTime& when);
    // Brings the buttons and the status bar in line with the rows.
    void ED();

    int rowCount() const;

    // At the end of the program: closes; a place that cannot be kept is returned.
    Failures closeForExit() { return placement_.closeForExit(this); }

    // What shows the log file; the desktop's text viewer unless replaced.
    void setLogOpener(std::function<void(const QString&)> opener) { openLog_ = std::move(opener); }

public slots:
    void sbReDialClick();
    void sbDelClick();
    void sbClearClick();
    void sbLogClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Line& line_;
    WindowPlacement placement_;
    QTreeWidget* lvRing_;
    QToolButton* sbReDial_;
    QToolButton* sbDel_;
    QToolButton* sbClear_;
    QLabel* status_;
    std::function<void(const QString&)> openLog_;
};

}  // namespace zrk
