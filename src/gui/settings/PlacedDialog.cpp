#include "gui/settings/PlacedDialog.h"

namespace zrk {

void PlacedDialog::done(int result) {
    placement_.saveOrReport(this);
    QDialog::done(result);
}

}  // namespace zrk
