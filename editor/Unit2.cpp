// Gadget editor window.
#include "editor/Unit2.h"

#include "controls/Colorbut.h"
#include "controls/Fonts.h"
#include "controls/Panel.h"
#include "controls/psiStatusBar.h"
#include "editor/EditorGlyphs.h"
#include "editor/TypedLengthLimit.h"
#include "platform/FilePaths.h"
#include "platform/Guard.h"
#include "platform/Screen.h"
#include "platform/SystemColors.h"
#include "rtl/IntConv.h"
#include "session/Session.h"

#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWindow>
#include <limits>
#include <span>

namespace {

// 8 and 10 point at the design's 96 dots per inch.
constexpr int eightPoint = 11;
constexpr int tenPoint = 13;
// The most characters typed into "Gadget Name".
constexpr int captionLimit = 12;

const QString programFilter
    = editor::executableFilesFilter + QStringLiteral("|*|Exe files (*.exe)|*.exe|ini files (*.INI)|*.INI");
const QString pictureFilter = QStringLiteral("BMP files (*.BMP)|*.BMP");
const QString menuFilter = QStringLiteral("Kavro Start Config Files(*.ini)|*.ini");

// A radio button and the menu line it stands for, read both ways: showing a
// gadget checks the button of its line, Save/Close stores the line of the
// checked button. A side's button also names what a click on it shows.
struct LineButton {
    QRadioButton* TForm2::*button;
    const char* line;
    void (TForm2::*click)() = nullptr;
};
// In the order of the side's number.
constexpr LineButton sideButtons[] = {
    { &TForm2::RadioButton1, "0", &TForm2::RadioButton1Click },
    { &TForm2::RadioButton2, "1", &TForm2::RadioButton2Click },
    { &TForm2::RadioButton3, "2", &TForm2::RadioButton3Click },
};
constexpr LineButton modeButtons[] = {
    { &TForm2::RadioButton4, "Run" },
    { &TForm2::RadioButton5, "Menu" },
    { &TForm2::RadioButton6, "None" },
};

// Checks the button that stands for `line`; with none, the buttons keep their state.
void checkButtonOf(const TForm2& form, std::span<const LineButton> buttons, const QByteArray& line)
{
    for (const LineButton& b : buttons)
        if (line == b.line)
            (form.*b.button)->setChecked(true);
}

// The line of the checked button; nothing when none is checked.
std::optional<QByteArray> lineOfChecked(const TForm2& form, std::span<const LineButton> buttons)
{
    for (const LineButton& b : buttons)
        if ((form.*b.button)->isChecked())
            return QByteArray(b.line);
    return std::nullopt;
}

} // namespace

// A tool window with a title and a close box only.
TForm2::TForm2(QWidget* parent)
    : TForm(parent,
        Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form2"));
    setCaption(QStringLiteral("Kavro Start Editor."));
    comeBackWhenMinimised();
    setFont(designFont(eightPoint, false));
    SaveDialog1.Filter = menuFilter;
    setAcceptDrops(true);
}

TForm2::~TForm2() = default;

void TForm2::createControls()
{
    MainMenu1 = new QMenuBar(this);
    QMenu* file = MainMenu1->addMenu(QStringLiteral("File"));
    Save1 = file->addAction(QStringLiteral("Save/Close"));
    SaveAs1 = file->addAction(QStringLiteral("Save As..."));
    file->addSeparator();
    Exit1 = file->addAction(QStringLiteral("Exit"));
    connect(Save1, &QAction::triggered, this, platform::guardedSlot([this] { Save1Click(); }));
    connect(SaveAs1, &QAction::triggered, this, platform::guardedSlot([this] { SaveAs1Click(); }));
    connect(Exit1, &QAction::triggered, this, platform::guardedSlot([this] { Exit1Click(); }));

    Client = new QWidget(this);
    Client->setFixedSize(602, 259);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Client);
    // The window takes exactly the menu bar and the client area and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    buildControls();
}

void TForm2::buildControls()
{
    QWidget* c = Client;
    const QFont bold = designFont(eightPoint, true);

    Panel1 = new TPanel(c);
    Panel1->setGeometry(2, 1, 600, 3);
    Panel1->setBevelOuter(TPanelBevel::bvLowered);
    Panel2 = new TPanel(c);
    Panel2->setGeometry(2, 32, 600, 3);
    Panel2->setBevelOuter(TPanelBevel::bvLowered);

    // The frames go in first so that the buttons stand above them; they
    // take the mouse like the other controls without an explanation.
    auto frame = [c](int left, int top, int width, int height) {
        auto* shape = new TShape(c);
        shape->setGeometry(left - 1, top - 1, width + 2, height + 2);
        shape->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        return shape;
    };
    Shape1 = frame(248, 112, 161, 33);
    Shape2 = frame(456, 153, 21, 21);
    Shape3 = frame(456, 177, 21, 21);
    Shape4 = frame(456, 201, 21, 21);
    Shape5 = frame(408, 6, 96, 25);
    Shape6 = frame(505, 6, 96, 25);

    auto button = [c](int left, int top, int width, int height, const QImage& picture) {
        auto* b = new TColorSpeedButton(c);
        b->setGeometry(left, top, width, height);
        if (!picture.isNull())
            b->setGlyph(picture);
        return b;
    };
    ColorSpeedButton5 = button(3, 6, 25, 25, editorglyphs::floppyDisk());
    ColorSpeedButton1 = button(408, 6, 96, 25, editorglyphs::palette());
    ColorSpeedButton2 = button(505, 6, 96, 25, editorglyphs::palette());
    for (TColorSpeedButton* colour : { ColorSpeedButton1, ColorSpeedButton2 }) {
        colour->setFont(bold);
        colour->setLayout(TButtonLayout::blGlyphRight);
    }
    ColorSpeedButton1->setCaption(QStringLiteral("Back Color"));
    ColorSpeedButton2->setCaption(QStringLiteral("Font Color"));

    GroupBox1 = new QGroupBox(QStringLiteral("Colum Titles"), c);
    GroupBox1->setGeometry(9, 40, 584, 57);
    GroupBox1->setFont(bold);
    QLineEdit* titles[4];
    const int titleLeft[4] = { 33, 161, 291, 435 };
    for (int i = 0; i < 4; ++i) {
        titles[i] = new QLineEdit(GroupBox1);
        titles[i]->setGeometry(titleLeft[i], 25, 121, 21);
        columnTitleLimits_[size_t(i)] = new TypedLengthLimit(titles[i], 15);
    }
    Edit4 = titles[0];
    Edit5 = titles[1];
    Edit6 = titles[2];
    Edit7 = titles[3];

    ColorSpeedButton3 = button(248, 112, 161, 33, QImage());
    ColorSpeedButton3->setFont(designFont(tenPoint, true));

    RadioGroup1 = new QGroupBox(QStringLiteral(" Graphic "), c);
    RadioGroup1->setGeometry(9, 128, 104, 97);
    RadioGroup1->setFont(bold);
    auto sideButton = [&](const QString& text, int top) {
        auto* radio = new QRadioButton(text, c);
        radio->setFont(bold);
        radio->adjustSize();
        radio->move(37, top);
        return radio;
    };
    RadioButton1 = sideButton(QStringLiteral("Left"), 148);
    RadioButton2 = sideButton(QStringLiteral("Right"), 172);
    RadioButton3 = sideButton(QStringLiteral("None"), 196);

    auto label = [&](const QString& text, int top) {
        auto* l = new QLabel(text, c);
        l->setFont(bold);
        l->adjustSize();
        l->move(133, top);
        return l;
    };
    Label1 = label(QStringLiteral("Gadget Name"), 162);
    Label2 = label(QStringLiteral("Files Path"), 184);
    Label3 = label(QStringLiteral("Graphic Path"), 208);

    auto edit = [c](int top) {
        auto* e = new QLineEdit(c);
        e->setGeometry(217, top, 232, 21);
        return e;
    };
    Edit1 = edit(153);
    gadgetNameLimit_ = new TypedLengthLimit(Edit1, captionLimit);
    Edit2 = edit(177);
    Edit2->setReadOnly(true);
    Edit3 = edit(201);
    Edit3->setReadOnly(true);

    ColorSpeedButton6 = button(456, 153, 21, 21, editorglyphs::fontLetters());
    ColorSpeedButton4 = button(456, 177, 21, 21, editorglyphs::openFolder());
    ColorSpeedButton7 = button(456, 201, 21, 21, editorglyphs::openFolder());
    for (auto [caption, box] :
        { std::pair { Label1, Edit1 }, std::pair { Label2, Edit2 }, std::pair { Label3, Edit3 } })
        caption->setBuddy(box);
    for (auto [picture, name] : { std::pair { ColorSpeedButton5, "Save/Close" },
             std::pair { ColorSpeedButton6, "Font" }, std::pair { ColorSpeedButton4, "Browse for the file" },
             std::pair { ColorSpeedButton7, "Browse for the graphic" } })
        picture->setAccessibleName(QString::fromLatin1(name));

    GroupBox2 = new QGroupBox(QStringLiteral(" Start Mode "), c);
    GroupBox2->setGeometry(489, 128, 104, 97);
    GroupBox2->setFont(bold);
    auto modeButton = [this](const QString& text, int top) {
        auto* radio = new QRadioButton(text, GroupBox2);
        radio->adjustSize();
        radio->move(28, top);
        return radio;
    };
    RadioButton4 = modeButton(QStringLiteral("Run"), 20);
    RadioButton5 = modeButton(QStringLiteral("Menu"), 44);
    RadioButton6 = modeButton(QStringLiteral("None"), 68);

    StatusBar = new TpsiStatusBar(c);
    StatusBar->setGeometry(0, 240, 602, 19);
    StatusBar->setPanelWidth(0, 194);
    StatusBar->setPanelWidth(1, psi::ClockPanelWidth);
    StatusBar->setSizeGrip(false);
    StatusBar->setShowHint(false);

    // A menu line of any length fits: the toolkit's default limit would cut it, and a save would write the cut text.
    for (QLineEdit* box : { Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7 })
        box->setMaxLength(std::numeric_limits<int>::max());

    QWidget* order[] = { Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, RadioButton1, RadioButton2, RadioButton3,
        RadioButton4, RadioButton5, RadioButton6 };
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(Edit1, &QLineEdit::textChanged, this, platform::guardedSlot([this] { Edit1Change(); }));
    connect(ColorSpeedButton1, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton1Click(); });
    connect(ColorSpeedButton2, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton2Click(); });
    connect(ColorSpeedButton6, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton6Click(); });
    connect(ColorSpeedButton4, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton4Click(); });
    connect(ColorSpeedButton7, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton7Click(); });
    connect(ColorSpeedButton5, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton5Click(); });
    connect(RadioButton1, &QRadioButton::clicked, this, platform::guardedSlot([this] { RadioButton1Click(); }));
    connect(RadioButton2, &QRadioButton::clicked, this, platform::guardedSlot([this] { RadioButton2Click(); }));
    connect(RadioButton3, &QRadioButton::clicked, this, platform::guardedSlot([this] { RadioButton3Click(); }));

    explanations_ = {
        { Client, QStringLiteral("Don`t forget you can select Save As from the menu to create a NEW Menu..") },
        { ColorSpeedButton5,
            QStringLiteral(
                "Save/Close... Clicking on this will save all changes to the Gadget and Close the Editor.") },
        { ColorSpeedButton1,
            QStringLiteral("Click on this to bring up the Palette so you can select a Gadget Color.") },
        { ColorSpeedButton2, QStringLiteral("Click on this to bring up the Palette so you can select a Font Color.") },
        { GroupBox1, QStringLiteral("These are the Titles of the four Colums above each colum of Gadgets.") },
        { ColorSpeedButton3,
            QStringLiteral("This Gadget is Show ONLY, to let you see what the Gadget will look like.") },
        { RadioButton1, QStringLiteral("Click this to Set the Graphic to be displayed on the Left.") },
        { RadioButton2, QStringLiteral("Click this to Set the Graphic to be displayed on the Right.") },
        { RadioButton3, QStringLiteral("Click this and No Graphic will be displayed on the Gadget.") },
        { Edit1, QStringLiteral("This is where you type in the name to display on the Gadget.") },
        { Edit2, QStringLiteral("This is Display ONLY off the full path where the program you want to Run.") },
        { Edit3,
            QStringLiteral(
                "This is Display ONLY off the full path where the Graphic you want to display on the Gadgets.") },
        { ColorSpeedButton6, QStringLiteral("Click on this will bring up a Font Requester for you to select a Font.") },
        { ColorSpeedButton4, QStringLiteral("Click on this to bring up a File Requester to find an .exe program.") },
        { ColorSpeedButton7, QStringLiteral("Click on this to bring up a File Requester to find an .BMP Graphic.") },
        { RadioButton4,
            QStringLiteral(
                "Clicking this will set the Gadget so that when you click on it, it will Run the Program.") },
        { RadioButton5,
            QStringLiteral(
                "Clicking this will set the Gadget so that when you click on it, it will Load another Menu in.") },
        { RadioButton6,
            QStringLiteral("Clicking this will set the Gadget so that when you click on it Nothing will happen.") },
    };
    // Every control reports mouse moves, so that a control without an
    // explanation keeps the one shown instead of passing the move on.
    Client->setMouseTracking(true);
    Client->installEventFilter(this);
    for (QWidget* child : Client->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

QString TForm2::Explanation(const QWidget* control) const { return explanations_.value(control); }

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        // A move that a control passed on to its parent is not the parent's own.
        const QPointF global = static_cast<QMouseEvent*>(event)->globalPosition();
        QWidget* under = Client->childAt(Client->mapFromGlobal(global.toPoint()));
        if (!under)
            under = Client;
        if (watched == under) {
            const QString text = Explanation(under);
            if (!text.isEmpty())
                StatusBar->setPanelText(0, text);
        }
    }
    // A line edit would take the text of a dragged file for its own.
    const bool drag
        = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop;
    if (drag && takeDrop(static_cast<QDropEvent*>(event)))
        return true;
    return TForm::eventFilter(watched, event);
}

bool TForm2::takeDrop(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return false;
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        const QList<QUrl> urls = event->mimeData()->urls();
        platform::guarded([&] { FormDragDrop(urls); });
    }
    return true;
}

void TForm2::dragEnterEvent(QDragEnterEvent* event)
{
    if (!takeDrop(event))
        TForm::dragEnterEvent(event);
}

void TForm2::dragMoveEvent(QDragMoveEvent* event)
{
    if (!takeDrop(event))
        TForm::dragMoveEvent(event);
}

void TForm2::dropEvent(QDropEvent* event)
{
    if (!takeDrop(event))
        TForm::dropEvent(event);
}

void TForm2::showEvent(QShowEvent* event)
{
    // Kept above the launcher screen it edits, also when a window manager
    // stacks that full-screen window above windows that stay on top.
    const QWidget* launcher = session().MainForm;
    if (launcher && launcher->windowHandle() && windowHandle())
        windowHandle()->setTransientParent(launcher->windowHandle());
    // Centred the first time; afterwards the window stays where the user put it.
    if (!placed_) {
        placed_ = true;
        adjustSize();
        const QSize screen = platform::primaryScreenSize();
        move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    }
    TForm::showEvent(event);
}

void TForm2::FormShow()
{
    chosenFace_.reset();
    dropped_.reset();
    backColorFilled_ = false;
    fontColorFilled_ = false;
    if (session().MainForm)
        session().MainForm->setEnabled(false);
    gadgetNameLimit_->setText(QString());
    Edit2->clear();
    Edit3->clear();
    // The preview shows no picture of a gadget edited before.
    ColorSpeedButton3->setGlyph(QImage());

    const CurrentMenu& current = session().Menu;
    if (current.EditedGadget < 1 || current.EditedGadget > menufile::GadgetCount)
        return;
    // What needs no conversion comes first: a bad number further down then
    // leaves no box holding a value of the gadget edited before, which
    // Save/Close would write into this one.
    showTexts();
    checkButtonOf(*this, sideButtons, editedLine(menufile::GraphicSide));
    checkButtonOf(*this, modeButtons, editedLine(menufile::StartMode));
    setSideButtonsEnabled(!Edit3->text().isEmpty());
    showPreviewLook();
}

QByteArray TForm2::editedLine(int field) const
{
    const CurrentMenu& current = session().Menu;
    return current[current.EditedLines()[size_t(field)]];
}

void TForm2::showTexts()
{
    const CurrentMenu& current = session().Menu;
    const QString name = QString::fromLocal8Bit(editedLine(menufile::GadgetName));
    ColorSpeedButton3->setCaption(name);
    gadgetNameLimit_->setText(name);
    Edit2->setText(QString::fromLocal8Bit(editedLine(menufile::FilesPath)));
    Edit3->setText(QString::fromLocal8Bit(editedLine(menufile::GraphicPath)));
    for (int c = 1; c <= menufile::ColumnCount; ++c)
        columnTitleLimits_[size_t(c) - 1]->setText(QString::fromLocal8Bit(current[menufile::columnTitleLine(c)]));
}

// The colours of a gadget whose number does not convert stay unknown: the
// preview shows plain ones and Save/Close keeps the lines.
void TForm2::showPreviewLook()
{
    ColorSpeedButton3->setColor(platform::clBtnFace);
    ColorSpeedButton3->setFontColor(platform::schemeColor(platform::COLOR_BTNTEXT));
    ColorSpeedButton3->setColor(rtl::StrToInt(editedLine(menufile::BackColor)));
    backColorFilled_ = true;
    const QString face = QString::fromLocal8Bit(editedLine(menufile::FontName)).left(31);
    if (!face.isEmpty()) {
        QFont font = ColorSpeedButton3->font();
        font.setFamily(face);
        ColorSpeedButton3->setFont(font);
    }
    ColorSpeedButton3->setFontColor(rtl::StrToInt(editedLine(menufile::FontColor)));
    fontColorFilled_ = true;
    // The side's picture as a click on its button shows it; any other number
    // leaves the preview's picture and side as they were.
    const int side = rtl::StrToInt(editedLine(menufile::GraphicSide));
    if (side >= 0 && side < int(std::size(sideButtons)))
        (this->*sideButtons[side].click)();
}

void TForm2::FormClose()
{
    if (session().MainForm)
        session().MainForm->setEnabled(true);
}

void TForm2::pictureRule(const QString& path, TButtonLayout side)
{
    if (platform::fileExistsIgnoringCase(path))
        ColorSpeedButton3->Glyph().LoadFromFile(platform::resolvePath(path));
    ColorSpeedButton3->setLayout(side);
}

void TForm2::setSideButtonsEnabled(bool enabled)
{
    for (QRadioButton* radio : { RadioButton1, RadioButton2, RadioButton3 })
        radio->setEnabled(enabled);
}

void TForm2::FormDragDrop(const QList<QUrl>& urls)
{
    std::optional<GadgetFill> fill;
    for (const QUrl& url : urls)
        if (!fill && dropReader_)
            fill = dropReader_(url, platform::ColorToRGB(ColorSpeedButton3->Color()));
    if (!fill)
        return;
    RadioButton4->setChecked(true);
    gadgetNameLimit_->setText(fill->caption.left(captionLimit).trimmed());
    Edit2->setText(fill->launcher.path);
    Edit3->setText(fill->picture ? fill->picture->path : QString());
    ColorSpeedButton3->setGlyph(fill->image);
    ColorSpeedButton3->setLayout(TButtonLayout::blGlyphLeft);
    (fill->picture ? RadioButton1 : RadioButton3)->setChecked(true);
    setSideButtonsEnabled(fill->picture.has_value());
    dropped_ = std::move(fill);
}

// Only the files the gadget still names: a browse after the drop replaces them.
void TForm2::writeDroppedFiles() const
{
    if (!dropped_)
        return;
    if (Edit2->text() == dropped_->launcher.path)
        dropped_->launcher.write();
    if (dropped_->picture && Edit3->text() == dropped_->picture->path)
        dropped_->picture->write();
}

void TForm2::Edit1Change() { ColorSpeedButton3->setCaption(Edit1->text()); }

void TForm2::ColorSpeedButton1Click()
{
    if (ColorDialog1.Execute(this)) {
        ColorSpeedButton3->setColor(ColorDialog1.Color);
        backColorFilled_ = true;
    }
}

void TForm2::ColorSpeedButton2Click()
{
    if (ColorDialog1.Execute(this)) {
        ColorSpeedButton3->setFontColor(ColorDialog1.Color);
        fontColorFilled_ = true;
    }
}

void TForm2::ColorSpeedButton6Click()
{
    if (FontDialog1.Execute(this)) {
        const editor::FontChoice& chosen = FontDialog1.Font;
        QFont font = ColorSpeedButton3->font();
        font.setFamily(chosen.Face);
        font.setPointSize(chosen.PointSize);
        font.setBold(chosen.Bold);
        font.setItalic(chosen.Italic);
        font.setUnderline(chosen.Underline);
        font.setStrikeOut(chosen.StrikeOut);
        ColorSpeedButton3->setFont(font);
        ColorSpeedButton3->setFontColor(chosen.Color);
        fontColorFilled_ = true;
        chosenFace_ = chosen.Face;
    }
    // The preview always shows a 10 point bold caption.
    QFont font = ColorSpeedButton3->font();
    font.setPixelSize(tenPoint);
    font.setBold(true);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    ColorSpeedButton3->setFont(font);
}

void TForm2::ColorSpeedButton4Click()
{
    platform::setCurrentFolder(session().StartFolder);
    OpenDialog1.FileName.clear();
    OpenDialog1.Filter = programFilter;
    if (OpenDialog1.Execute(this))
        Edit2->setText(OpenDialog1.FileName);
}

void TForm2::ColorSpeedButton7Click()
{
    platform::setCurrentFolder(session().StartFolder);
    OpenDialog1.FileName.clear();
    OpenDialog1.Filter = pictureFilter;
    if (!OpenDialog1.Execute(this))
        return;
    Edit3->setText(OpenDialog1.FileName);
    pictureRule(Edit3->text(), TButtonLayout::blGlyphLeft);
    RadioButton1->setChecked(true);
    setSideButtonsEnabled(true);
}

void TForm2::RadioButton1Click() { pictureRule(Edit3->text(), TButtonLayout::blGlyphLeft); }

void TForm2::RadioButton2Click() { pictureRule(Edit3->text(), TButtonLayout::blGlyphRight); }

void TForm2::RadioButton3Click() { ColorSpeedButton3->setGlyph(QImage()); }

void TForm2::ColorSpeedButton5Click() { SaveClose(); }

void TForm2::Save1Click() { SaveClose(); }

GadgetEditBoxes TForm2::editBoxes() const { return { Edit1->text(), Edit2->text(), Edit3->text() }; }

GadgetEditorValues TForm2::editorValues() const
{
    GadgetEditorValues values;
    values.Boxes = editBoxes();
    values.StartMode = lineOfChecked(*this, modeButtons);
    values.GraphicSide = lineOfChecked(*this, sideButtons);
    if (fontColorFilled_)
        values.FontColor = ColorSpeedButton3->FontColor();
    if (backColorFilled_)
        values.BackColor = ColorSpeedButton3->Color();
    values.FontName = chosenFace_;
    values.ColumnTitles = { Edit4->text(), Edit5->text(), Edit6->text(), Edit7->text() };
    return values;
}

void TForm2::SaveMenu(const QString& fileName) { MenuSaver::SaveMenu(session().Menu, editBoxes(), fileName); }

// A failure stops here with the error shown: the menu is not read back, the
// launcher stays disabled and the editor stays open.
void TForm2::SaveClose()
{
    CurrentMenu& current = session().Menu;
    const GadgetEditorValues values = editorValues();
    MenuSaver::checkValues(values);
    writeDroppedFiles();
    MenuSaver::storeValues(current, values);
    SaveMenu(current.MenuFileName);
    current.LoadMenu(current.MenuFileName);
    if (applyMenu_)
        applyMenu_();
    if (session().MainForm)
        session().MainForm->setEnabled(true);
    close();
}

void TForm2::SaveAs1Click()
{
    if (!SaveDialog1.Execute(this))
        return;
    MenuSaver::checkValues(editBoxes());
    writeDroppedFiles();
    MenuSaver::SaveMenuAs(session().Menu, editBoxes(), SaveDialog1.FileName);
}

void TForm2::Exit1Click()
{
    if (session().MainForm)
        session().MainForm->setEnabled(true);
    close();
}
