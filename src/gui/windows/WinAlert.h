#pragma once
// TWinAlert: the call alert, the small window that names the caller.
// Who is calling, for a caller whose action is a message: name, number, group and status
// picture, with "answer" and "ignore". Created once and reused; the caller fills it with
// InitForm and shows it.
#include <QDialog>

class QLabel;
class QPushButton;

namespace zrk {

class Line;

class TWinAlert : public QDialog {
    Q_OBJECT
public:
    explicit TWinAlert(Line& line, QWidget* parent = nullptr);

    // `number` comes already grouped for display; `status` 0 normal, 1 bad, 2 priority
    // (any other value shows no picture).
    void InitForm(const QString& name, const QString& number, const QString& group, int status);

public slots:
    void bExitClick();    // answer the call
    void Button1Click();  // stop ringing for this call, leave the call alone

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Line& line_;
    QLabel* imgStatus_;
    QLabel* stFIO_;
    QLabel* stNumber_;
    QLabel* stGroup_;
};

}  // namespace zrk
