#pragma once
// TEditNotes: the note template editor of the reminder form.
// The seven note templates ("title|note" in the settings record). Moving to another title keeps the
// edits of the one left; OK keeps them all, Отмена undoes them all.
#include "settings/Settings.h"
#include "settings/WindowPlacement.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TEditNotes;
}

namespace zrk {

class TEditNotes : public QDialog {
    Q_OBJECT
public:
    explicit TEditNotes(QWidget* parent = nullptr);
    ~TEditNotes() override;

public slots:
    void cbNotesChange();
    void bOKClick();
    void bCanselClick();

protected:
    void done(int result) override;
    void reject() override;

private:
    std::unique_ptr<Ui::TEditNotes> ui_;
    int editing_ = 0;
    TIni saved_;
    WindowPlacement placement_{QStringLiteral("Position\\EditReminder"), false};
};

}  // namespace zrk
