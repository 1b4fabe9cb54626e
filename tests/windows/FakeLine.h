#pragma once
// A main window stand-in that records what the other windows ask of it, in order.
#include "windows/Line.h"

#include <QStringList>

namespace zrktest {

class FakeLine : public zrk::Line {
public:
    static QString b(bool v) { return v ? "true" : "false"; }
    void ViewNumber(const QString& n, bool id) override {
        calls << QString("ViewNumber(%1,%2)").arg(n, b(id));
    }
    void sbDialClick() override { calls << "sbDialClick"; }
    void sbAnswerClick() override { calls << "sbAnswerClick"; }
    int callCount() const override { return count; }
    void CountCaller(int c) override { calls << QString("CountCaller(%1)").arg(count = c); }
    void setRingActive(bool a) override { calls << "setRingActive(" + b(a) + ")"; }
    void setCallListShown(bool s) override { calls << "setCallListShown(" + b(s) + ")"; }

    QStringList calls;
    int count = 0;
};

}  // namespace zrktest
