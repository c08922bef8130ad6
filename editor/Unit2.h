// The gadget editor window.
#pragma once

#include "controls/Form.h"

class TForm2 final : public TForm {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void FormClose() override;
};
