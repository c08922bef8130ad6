// The planner window.
#pragma once

#include "controls/Form.h"

class TMainFormer final : public TForm {
    Q_OBJECT
public:
    explicit TMainFormer(QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void FormClose() override;
};
