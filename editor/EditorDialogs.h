// The editor's colour, font and file dialogs behind one seam, and the
// dialog components that keep their last result for the whole run.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace editor {

// A caption font as the font dialog offers it. The colour is a stored
// colour value (explicit RGB or a scheme index).
struct FontChoice {
    QString Face;
    int PointSize = 8;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    qint32 Color = 0;

    bool operator==(const FontChoice&) const = default;
};

enum class FileDialogKind { Open, Save };

class EditorDialogs {
public:
    virtual ~EditorDialogs() = default;

    // Each returns the choice on OK and nothing on Cancel.
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) = 0;
    // `filters` in the toolkit's form ("Exe files (*.exe)"). The open dialog
    // also accepts the typed name of a file that does not exist; the save
    // dialog never asks before an existing file is overwritten and adds no suffix.
    virtual std::optional<QString> chooseFile(QWidget* parent, FileDialogKind kind, const QString& folder,
        const QString& fileName, const QStringList& filters)
        = 0;
};

// The filter of an open dialog that lists, besides folders, only the files
// this process may run.
inline const QString executableFilesFilter = QStringLiteral("Executable files (*)");

// The dialogs in use: the system's unless a test installed its own.
EditorDialogs& editorDialogs();
// Installs `replacement` (not owned); nullptr restores the system's dialogs.
void setEditorDialogs(EditorDialogs* replacement);

// Filters written as "Text|pattern|Text|pattern" in the toolkit's form
// "Text (patterns)": a text that already ends in its patterns in brackets
// stays as it is, any other gets them added.
QStringList nameFilters(const QString& filter);

// The colour dialog: opens on the last colour chosen in it, black until then.
class TColorDialog final {
public:
    bool Execute(QWidget* parent);
    qint32 Color = 0;
};

// The font dialog with its effects part: opens on the last font chosen in
// it, "MS Sans Serif" 8 point in the window-text colour until then.
class TFontDialog final {
public:
    TFontDialog();
    bool Execute(QWidget* parent);
    FontChoice Font;
};

// A file dialog component: opens in the current folder.
class TFileDialog {
public:
    bool Execute(QWidget* parent);
    QString FileName;
    QString Filter;

protected:
    explicit TFileDialog(FileDialogKind kind)
        : kind_(kind)
    {
    }

private:
    FileDialogKind kind_;
};

// The open-file dialog: also accepts a typed name of a file that does not
// exist. A last filter "All files (*)" lets a program without a suffix be chosen.
class TOpenDialog final : public TFileDialog {
public:
    TOpenDialog()
        : TFileDialog(FileDialogKind::Open)
    {
    }
};

// The save-file dialog: offers the last name chosen again, asks nothing
// before overwriting, adds no suffix.
class TSaveDialog final : public TFileDialog {
public:
    TSaveDialog()
        : TFileDialog(FileDialogKind::Save)
    {
    }
};

} // namespace editor
