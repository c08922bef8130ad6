// The alarm dialog: the hour and minute of the control box's alarm, its
// message, and the switch that turns it on or off.
#pragma once

#include "controls/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TKavroAlarm;
class TUpDown;

class TAlarm1 final : public TForm {
    Q_OBJECT
public:
    explicit TAlarm1(QWidget* parent = nullptr);

    // The alarm the dialog sets: the control box's, wired at start-up.
    void setAlarm(TKavroAlarm* alarm) { alarm_ = alarm; }

    // Handlers.
    void UpDown1Click();
    void UpDown2Click();
    void Button1Click();
    void Button2Click();

    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    TUpDown* UpDown1;
    QLabel* Label5;
    QLineEdit* Edit3;
    TUpDown* UpDown2;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void createControls() override;
    void showEvent(QShowEvent* event) override;
    void FormShow() override;
    void FormClose() override;

private:
    TKavroAlarm* alarm_ = nullptr;
};
