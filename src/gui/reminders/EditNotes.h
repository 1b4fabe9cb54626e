#pragma once
// TEditNotes: the note template editor of the reminder form.
// The seven note templates ("title|note" in the settings record). Moving to another title keeps the
// edits of the one left; OK keeps them all, Отмена undoes them all.
#include "gui/settings/Form.h"
#include "gui/settings/PlacedDialog.h"
#include "core/settings/Settings.h"

namespace Ui {
class TEditNotes;
}

namespace zrk {

class TEditNotes : public PlacedDialog {
    Q_OBJECT
public:
    explicit TEditNotes(QWidget* parent = nullptr);

public slots:
    void cbNotesChange();
    void bOKClick();
    void bCanselClick();

protected:
    void reject() override;

private:
    FormPtr<Ui::TEditNotes> ui_;
    int editing_ = 0;
    TIni saved_;
};

}  // namespace zrk
