#include "gui/windows/FailurePresenter.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>

namespace zrk {

FailurePresenter& FailurePresenter::instance() {
    static auto* presenter = new FailurePresenter(QCoreApplication::instance());
    return *presenter;
}

void FailurePresenter::show(const Failure& failure) {
    if (collecting_) {
        collected_.append(failure);
        return;
    }
    if (failure.kind != Failure::Kind::Port) {
        if (shown_.contains(failure.text)) return;
        shown_.insert(failure.text);
    }
    const QString caption = !failure.caption.isEmpty() ? failure.caption
                            : owner_                   ? owner_->windowTitle()
                                                       : QCoreApplication::applicationName();
    // Never modal: a nested event loop would let the next batch of modem bytes run inside the
    // one that raised the failure.
    auto* box = new QMessageBox(QMessageBox::Critical, caption, failure.text, QMessageBox::Ok,
                                owner_.data());
    box->setObjectName(QStringLiteral("errorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

bool FailurePresenter::reportCollected(bool quiet) {
    if (collected_.isEmpty()) return false;
    const QString text = failureLines(collected_);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (!quiet)
        QMessageBox::critical(nullptr,
                              owner_ ? owner_->windowTitle() : QCoreApplication::applicationName(),
                              text);
    return true;
}

}  // namespace zrk
