// Single instance guard: a second copy of the program brings the first one forward and ends.
#pragma once

#include <QObject>

class TJustOne32 final : public QObject {
    Q_OBJECT
public:
    explicit TJustOne32(QWidget* owner);
};
