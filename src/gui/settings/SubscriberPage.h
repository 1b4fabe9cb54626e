#pragma once
// SubscriberPage: the options page "Абонент": the texts of the caller categories and the district
// table.
#include "gui/settings/OptionsPage.h"

namespace Ui {
class SubscriberPage;
}

namespace zrk {

class OptionsHost;

class SubscriberPage : public OptionsPage {
    Q_OBJECT
public:
    // Category texts go straight into `settings` as the user moves between categories;
    // a district table that cannot be read is reported to `host`.
    SubscriberPage(TIni& settings, OptionsHost& host, QWidget* parent = nullptr);

    // The district table, unless it could not be read.
    void save() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void storeRest(TIni& settings) override;
    // The text of category `index` from the field into `s`.
    void keepCategory(TIni& s, int index);
    void cbKategChange();
    void bAddClick();
    void bPropClick();
    void bDelClick();

    FormPtr<Ui::SubscriberPage> ui_;
    TIni& settings_;
    int previousCategory_ = 0;
    bool raionsLoaded_ = false;
};

}  // namespace zrk
