// Position memory: keeps a window's size and place in an ini file.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

enum class TIniFileDirectory {
    ProgramDir, // beside the program file; for an installed copy or an unwritable folder, the user's configuration
                // folder
    WindowsDir, // the user's settings folder
};

class TPosition final : public QObject {
    Q_OBJECT
public:
    explicit TPosition(QWidget* owner);

    TIniFileDirectory IniFileDirectory() const { return iniFileDirectory_; }
    void setIniFileDirectory(TIniFileDirectory directory);

    // A new name is taken only when it differs from the current one, ends in
    // ".ini" exactly and has at most 12 characters; it is kept lower-cased.
    // Any other name is ignored.
    QString IniFileName() const { return iniFileName_; }
    void setIniFileName(const QString& name);

    bool SaveDimension() const { return saveDimension_; }
    void setSaveDimension(bool save);
    bool SavePosition() const { return savePosition_; }
    void setSavePosition(bool save);

    // The position file for the current settings.
    QString iniFilePath() const;

    // End of loading: applies the saved size, then the saved place; a
    // missing place centres the window on the primary screen.
    void Restore();
    // Writes [Values] Width, Height, Left, Top, in that order; the place
    // only where the window system tells it (see platform/WindowSystem.h). Raises
    // "Unable to write to %s" when the file cannot be written.
    void SaveToIni();

private:
    QWidget* owner_;
    TIniFileDirectory iniFileDirectory_ = TIniFileDirectory::ProgramDir;
    QString iniFileName_;
    bool saveDimension_ = true;
    bool savePosition_ = true;
};
