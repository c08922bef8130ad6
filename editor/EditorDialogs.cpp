// The editor's dialogs: the system implementation of the seam and the
// dialog components.
#include "editor/EditorDialogs.h"

#include "editor/FontDialog.h"
#include "platform/FilePaths.h"
#include "platform/SystemColors.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace editor {

namespace {

// Runs a modal dialog and gives the keyboard back to the window that opened
// it, which a window manager may otherwise hand to another of our windows.
int runModal(QDialog& dialog, QWidget* parent)
{
    const int result = dialog.exec();
    if (parent)
        parent->activateWindow();
    return result;
}

// Lists every file and folder, or while `onlyExecutables` holds only the
// folders and the files this process may run.
class ExecutableFiles final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setOnlyExecutables(bool only)
    {
        only_ = only;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!only_ || !files)
            return true;
        const QFileInfo file = files->fileInfo(files->index(row, 0, parent));
        return file.isDir() || file.isExecutable();
    }

private:
    bool only_ = false;
};

class SystemEditorDialogs final : public EditorDialogs {
public:
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override
    {
        QColorDialog dialog(initial, parent);
        dialog.setWindowTitle(QStringLiteral("Color"));
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        if (runModal(dialog, parent) != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedColor();
    }

    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) override
    {
        TFontDialogBox dialog(initial, parent);
        if (runModal(dialog, parent) != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    }

    std::optional<QString> chooseFile(QWidget* parent, FileDialogKind kind, const QString& folder,
        const QString& fileName, const QStringList& filters) override
    {
        const bool save = kind == FileDialogKind::Save;
        QFileDialog dialog(parent, save ? QStringLiteral("Save As") : QStringLiteral("Open"), folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, save);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString());
        dialog.setNameFilters(filters);
        auto* shown = new ExecutableFiles(&dialog);
        dialog.setProxyModel(shown);
        shown->setOnlyExecutables(dialog.selectedNameFilter() == executableFilesFilter);
        QObject::connect(&dialog, &QFileDialog::filterSelected, shown,
            [shown](const QString& filter) { shown->setOnlyExecutables(filter == executableFilesFilter); });
        if (!fileName.isEmpty())
            dialog.selectFile(fileName);
        if (runModal(dialog, parent) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first();
    }
};

SystemEditorDialogs systemDialogs;
EditorDialogs* current = nullptr;

} // namespace

EditorDialogs& editorDialogs() { return current ? *current : systemDialogs; }

void setEditorDialogs(EditorDialogs* replacement) { current = replacement; }

QStringList nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& text = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        if (text.endsWith(u'(' + patterns + u')'))
            result.append(text);
        else
            result.append(text + QStringLiteral(" (") + patterns + u')');
    }
    return result;
}

bool TColorDialog::Execute(QWidget* parent)
{
    const std::optional<QColor> chosen = editorDialogs().chooseColor(parent, platform::ColorToRGB(Color));
    if (!chosen)
        return false;
    Color = platform::RGBToColor(*chosen);
    return true;
}

TFontDialog::TFontDialog()
    : Font { QStringLiteral("MS Sans Serif"), 8, false, false, false, false, platform::clWindowText }
{
}

bool TFontDialog::Execute(QWidget* parent)
{
    const std::optional<FontChoice> chosen = editorDialogs().chooseFont(parent, Font);
    if (!chosen)
        return false;
    Font = *chosen;
    return true;
}

bool TFileDialog::Execute(QWidget* parent)
{
    const bool open = kind_ == FileDialogKind::Open;
    QStringList filters = nameFilters(Filter);
    if (open)
        filters << QStringLiteral("All files (*)");
    // The save dialog offers the last name chosen again, in the current folder.
    const QString offered = open ? FileName : QFileInfo(FileName).fileName();
    const std::optional<QString> chosen
        = editorDialogs().chooseFile(parent, kind_, platform::currentFolder(), offered, filters);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

} // namespace editor
