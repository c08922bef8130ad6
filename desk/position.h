// Position memory: keeps a window's size and place in an ini file.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

class TPosition final : public QObject {
    Q_OBJECT
public:
    explicit TPosition(QWidget* owner);

    QString IniFileName() const { return iniFileName_; }
    void setIniFileName(const QString& name);

    // Applies the saved size and place, or centres the window (end of loading).
    void Restore();
    // Writes the owner's size and place.
    void SaveToIni();

private:
    QWidget* owner_;
    QString iniFileName_;
};
