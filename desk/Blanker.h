// The screen blanker.
#pragma once

#include "controls/Form.h"

class TForm3 final : public TForm {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};
