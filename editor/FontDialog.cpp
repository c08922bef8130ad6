// The editor's font dialog.
#include "editor/FontDialog.h"

#include "platform/SystemColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace editor {

const NamedColor basicColors[16] = {
    { "Black", 0x000000 },
    { "Maroon", 0x000080 },
    { "Green", 0x008000 },
    { "Olive", 0x008080 },
    { "Navy", 0x800000 },
    { "Purple", 0x800080 },
    { "Teal", 0x808000 },
    { "Gray", 0x808080 },
    { "Silver", 0xC0C0C0 },
    { "Red", 0x0000FF },
    { "Lime", 0x00FF00 },
    { "Yellow", 0x00FFFF },
    { "Blue", 0xFF0000 },
    { "Fuchsia", 0xFF00FF },
    { "Aqua", 0xFFFF00 },
    { "White", 0xFFFFFF },
};

namespace {

const char* const styleNames[4] = { "Regular", "Italic", "Bold", "Bold Italic" };
constexpr int sizes[] = { 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 };

QIcon swatch(const QColor& colour)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 23, 11);
    return QIcon(pixmap);
}

} // namespace

TFontDialogBox::TFontDialogBox(const FontChoice& initial, QWidget* parent)
    : QDialog(parent)
    , color_(initial.Color)
{
    setWindowTitle(QStringLiteral("Font"));

    faceEdit_ = new QLineEdit(initial.Face);
    faceList_ = new QListWidget;
    QStringList families;
    for (const QString& family : QFontDatabase::families()) {
        // Faces also listed with their foundry ("Face [foundry]") are offered once, by name.
        const QString name = family.section(QStringLiteral(" ["), 0, 0);
        if (!families.contains(name, Qt::CaseInsensitive))
            families.append(name);
    }
    if (!initial.Face.isEmpty() && !families.contains(initial.Face, Qt::CaseInsensitive))
        families.append(initial.Face);
    families.sort(Qt::CaseInsensitive);
    faceList_->addItems(families);

    styleList_ = new QListWidget;
    for (const char* name : styleNames)
        styleList_->addItem(QString::fromLatin1(name));
    styleList_->setCurrentRow((initial.Bold ? 2 : 0) + (initial.Italic ? 1 : 0));

    sizeBox_ = new QComboBox;
    sizeBox_->setEditable(true);
    sizeBox_->setValidator(new QIntValidator(1, 999, sizeBox_));
    for (const int size : sizes)
        sizeBox_->addItem(QString::number(size));
    sizeBox_->setCurrentText(QString::number(initial.PointSize));

    strikeOut_ = new QCheckBox(QStringLiteral("Stri&keout"));
    strikeOut_->setChecked(initial.StrikeOut);
    underline_ = new QCheckBox(QStringLiteral("&Underline"));
    underline_->setChecked(initial.Underline);
    colorBox_ = new QComboBox;
    const QColor shown = platform::ColorToRGB(initial.Color);
    int current = -1;
    for (int i = 0; i < 16; ++i) {
        const QColor colour = platform::ColorToRGB(basicColors[i].Value);
        colorBox_->addItem(swatch(colour), QString::fromLatin1(basicColors[i].Name));
        if (current < 0 && colour == shown)
            current = i;
    }
    if (current < 0) {
        colorBox_->addItem(swatch(shown), QStringLiteral("Custom"));
        current = 16;
    }
    colorBox_->setCurrentIndex(current);

    auto* effects = new QGroupBox(QStringLiteral("Effects"));
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->addWidget(strikeOut_);
    effectsLayout->addWidget(underline_);
    auto* colorLabel = new QLabel(QStringLiteral("&Color:"));
    colorLabel->setBuddy(colorBox_);
    effectsLayout->addWidget(colorLabel);
    effectsLayout->addWidget(colorBox_);

    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"));
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sample_ = new QLabel(QStringLiteral("AaBbYyZz"));
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumSize(160, 60);
    sampleLayout->addWidget(sample_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto label = [](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text);
        l->setBuddy(buddy);
        return l;
    };
    faceList_->setFixedSize(180, 150);
    styleList_->setFixedSize(110, 172);
    sizeBox_->setFixedWidth(64);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label(QStringLiteral("&Font:"), faceEdit_), 0, 0);
    grid->addWidget(label(QStringLiteral("Font st&yle:"), styleList_), 0, 1);
    grid->addWidget(label(QStringLiteral("&Size:"), sizeBox_), 0, 2);
    grid->addWidget(faceEdit_, 1, 0);
    grid->addWidget(faceList_, 2, 0);
    grid->addWidget(styleList_, 1, 1, 2, 1);
    grid->addWidget(sizeBox_, 1, 2, Qt::AlignTop);
    grid->addWidget(buttons, 1, 3, 2, 1, Qt::AlignTop);
    grid->addWidget(effects, 3, 0);
    grid->addWidget(sampleBox, 3, 1, 1, 2);

    connect(faceEdit_, &QLineEdit::textEdited, this, &TFontDialogBox::faceEdited);
    connect(faceList_, &QListWidget::currentTextChanged, this, [this](const QString& face) {
        if (!face.isEmpty() && faceEdit_->text() != face)
            faceEdit_->setText(face);
        showSample();
    });
    connect(styleList_, &QListWidget::currentRowChanged, this, [this] { showSample(); });
    connect(sizeBox_, &QComboBox::currentTextChanged, this, [this] { showSample(); });
    connect(strikeOut_, &QCheckBox::toggled, this, [this] { showSample(); });
    connect(underline_, &QCheckBox::toggled, this, [this] { showSample(); });
    connect(colorBox_, &QComboBox::activated, this, [this](int index) {
        if (index < 16)
            color_ = basicColors[index].Value;
        showSample();
    });

    const QList<QListWidgetItem*> found = faceList_->findItems(initial.Face, Qt::MatchFixedString);
    if (!found.isEmpty())
        faceList_->setCurrentItem(found.first());
    showSample();
}

void TFontDialogBox::faceEdited(const QString& text)
{
    const QList<QListWidgetItem*> found = faceList_->findItems(text, Qt::MatchStartsWith);
    if (!found.isEmpty()) {
        const QSignalBlocker quiet(faceList_);
        faceList_->setCurrentItem(found.first());
        faceList_->scrollToItem(found.first(), QAbstractItemView::PositionAtTop);
    }
    showSample();
}

FontChoice TFontDialogBox::choice() const
{
    FontChoice result;
    result.Face = faceEdit_->text().trimmed();
    result.PointSize = sizeBox_->currentText().toInt();
    const int style = std::max(styleList_->currentRow(), 0);
    result.Bold = style >= 2;
    result.Italic = style % 2 == 1;
    result.StrikeOut = strikeOut_->isChecked();
    result.Underline = underline_->isChecked();
    result.Color = color_;
    return result;
}

void TFontDialogBox::showSample()
{
    const FontChoice now = choice();
    // Only a face the list knows, or the one the dialog opened on, can be chosen.
    const bool knownFace = !faceList_->findItems(now.Face, Qt::MatchFixedString).isEmpty();
    ok_->setEnabled(knownFace && now.PointSize > 0);
    QFont font(now.Face);
    font.setPointSize(std::max(now.PointSize, 1));
    font.setBold(now.Bold);
    font.setItalic(now.Italic);
    font.setUnderline(now.Underline);
    font.setStrikeOut(now.StrikeOut);
    sample_->setFont(font);
    QPalette colours = sample_->palette();
    colours.setColor(QPalette::WindowText, platform::ColorToRGB(now.Color));
    sample_->setPalette(colours);
}

} // namespace editor
