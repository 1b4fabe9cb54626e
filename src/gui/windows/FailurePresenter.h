#pragma once
// FailurePresenter: the one place where the core's failures reach the user. A box never holds
// anything up (the modem's data goes on being read under it); the port's failures are said
// each time, any other text once in the run. While the program closes, failures are collected
// instead and go to stderr, with one box at the end unless nobody may be there to click it.
#include "core/platform/Failure.h"

#include <QObject>
#include <QPointer>
#include <QSet>

class QWidget;

namespace zrk {

class FailurePresenter : public QObject {
    Q_OBJECT
public:
    explicit FailurePresenter(QObject* parent = nullptr) : QObject(parent) {}

    // The window boxes belong to (none: boxes of their own); its title is the boxes' caption
    // where a failure names none.
    void setOwner(QWidget* owner) { owner_ = owner; }
    void show(const Failure& failure);
    // From now on failures are collected, not shown.
    void startCollecting() { collecting_ = true; }
    const Failures& collected() const { return collected_; }
    // The collected failures to stderr, and in one box unless `quiet`. False: there were none.
    bool reportCollected(bool quiet);

    // The program's single presenter, made on first use.
    static FailurePresenter& instance();

private:
    QPointer<QWidget> owner_;
    QSet<QString> shown_;
    bool collecting_ = false;
    Failures collected_;
};

}  // namespace zrk
