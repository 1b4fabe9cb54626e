#pragma once
// ActionsPage: the options page "Действия": the action and the sound for a caller of each status,
// and the sound of a reminder that comes due.
#include "gui/settings/OptionsPage.h"

namespace Ui {
class ActionsPage;
}

namespace zrk {

class ActionsPage : public OptionsPage {
    Q_OBJECT
public:
    ActionsPage(const TIni& settings, QWidget* parent = nullptr);

private:
    FormPtr<Ui::ActionsPage> ui_;
};

}  // namespace zrk
