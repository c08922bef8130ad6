// The about panel.
#pragma once

#include "controls/Form.h"

class TForm4 final : public TForm {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};
