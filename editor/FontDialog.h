// The editor's font dialog: face, style, size, effects (strike-out,
// underline) and a caption colour, with a sample.
#pragma once

#include "editor/EditorDialogs.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace editor {

// The sixteen basic colours the colour list offers, as stored colour values, with their names.
struct NamedColor {
    const char* Name;
    qint32 Value;
};
extern const NamedColor basicColors[16];

class TFontDialogBox final : public QDialog {
    Q_OBJECT
public:
    explicit TFontDialogBox(const FontChoice& initial, QWidget* parent = nullptr);

    // What the dialog shows now.
    FontChoice choice() const;

private:
    void faceEdited(const QString& text);
    void showSample();

    QLineEdit* faceEdit_;
    QListWidget* faceList_;
    QListWidget* styleList_;
    QComboBox* sizeBox_;
    QCheckBox* strikeOut_;
    QCheckBox* underline_;
    QComboBox* colorBox_;
    QLabel* sample_;
    QPushButton* ok_;
    qint32 color_;
};

} // namespace editor
