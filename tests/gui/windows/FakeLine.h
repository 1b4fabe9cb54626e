#pragma once
// A main window stand-in that records what the other windows ask of it, in order.
#include "core/platform/Exception.h"
#include "gui/windows/Line.h"

#include <QStringList>

namespace zrktest {

class FakeLine : public zrk::Line {
public:
    static QString b(bool v) { return v ? "true" : "false"; }
    void ViewNumber(const QString& n, bool id) override {
        calls << QString("ViewNumber(%1,%2)").arg(n, b(id));
    }
    void sbDialClick() override {
        calls << "sbDialClick";
        if (failing) throw zrk::Exception(QStringLiteral("Ошибка записи"));
    }
    void sbAnswerClick() override {
        calls << "sbAnswerClick";
        if (failing) throw zrk::Exception(QStringLiteral("Ошибка записи"));
    }
    int callCount() const override { return count; }
    void CountCaller(int c) override { calls << QString("CountCaller(%1)").arg(count = c); }
    void setRingActive(bool a) override { calls << "setRingActive(" + b(a) + ")"; }
    void setCallListShown(bool s) override { calls << "setCallListShown(" + b(s) + ")"; }
    void HandleException(std::exception_ptr e) override {
        try {
            std::rethrow_exception(e);
        } catch (const zrk::Exception& x) {
            calls << "error: " + x.message();
        }
    }

    QStringList calls;
    int count = 0;
    bool failing = false;  // the dial and answer commands fail as on a port that is gone
};

}  // namespace zrktest
