// The alarm dialog.
#pragma once

#include "controls/Form.h"

class TAlarm1 final : public TForm {
    Q_OBJECT
public:
    explicit TAlarm1(QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void FormClose() override;
};
