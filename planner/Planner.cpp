// Planner window.
#include "planner/Planner.h"

#include "controls/Calendar.h"
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "controls/Split32.h"
#include "planner/CalendarFileDialog.h"
#include "planner/PlanCalendar.h"
#include "planner/PlanStore.h"
#include "planner/Plann32.h"
#include "planner/PlannerGlyphs.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "platform/Guard.h"
#include "platform/Screen.h"
#include "rtl/DateUtils.h"
#include "session/Session.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimeZone>
#include <QTreeWidget>

namespace {

const QString BoxCaption = QStringLiteral("Information");

// The design's sizes suit a narrow sans-serif face.
QFont sansSerif()
{
    QFont font;
    font.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Nimbus Sans"),
        QStringLiteral("Liberation Sans"), QStringLiteral("Arial") });
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

// Typing is taken only for days that can be filed.
QString outsideYearsMessage()
{
    return QStringLiteral("The planner keeps days from the year %1 to the year %2 only.")
        .arg(plan::FirstYear)
        .arg(plan::LastYear);
}

} // namespace

TMainFormer::TMainFormer(QWidget* parent)
    : TForm(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("MainFormer"));
    setCaption(QStringLiteral("Planner"));
    setFont(sansSerif());
    setFixedSize(582, 434);
    const QSize screen = platform::primaryScreenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    // What the grid and the calendar take from the moment of creation.
    createdOn_ = platform::now().date();
    createdIn_ = platform::currentFolder();
}

void TMainFormer::createControls()
{
    ImageList1 = plannerglyphs::treeImages();
    ImageList2 = plannerglyphs::listImages();

    // The labels grow to their text when the font draws it wider than the design's.
    auto label = [this](const QString& text, int left, int top, int width) {
        auto* made = new QLabel(text, this);
        made->setGeometry(left, top, std::max(width, made->sizeHint().width()), 13);
        return made;
    };
    User = label(QStringLiteral("User"), 408, 160, 22);
    Pass = label(QStringLiteral("Pass"), 408, 184, 23);
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(440, 152, 129, 21);
    Edit2 = new QLineEdit(this);
    Edit2->setGeometry(440, 184, 129, 21);
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));

    ColorSpeedButton1 = new TColorSpeedButton(this);
    ColorSpeedButton1->setGeometry(415, 216, 25, 25);
    ColorSpeedButton1->setHint(QStringLiteral("Clear day Entries"));
    ColorSpeedButton1->setGlyph(plannerglyphs::clearDay());
    SpeedButton3 = new TColorSpeedButton(this);
    SpeedButton3->setGeometry(440, 216, 25, 25);
    SpeedButton3->setHint(QStringLiteral("Refresh"));
    SpeedButton3->setGlyph(plannerglyphs::refresh());
    TodayBtn = new TColorBitBtn(this);
    TodayBtn->setGeometry(472, 216, 49, 25);
    TodayBtn->setCaption(QStringLiteral("&Today"));
    TodayBtn->setHint(QStringLiteral("Jump to Today's date"));
    EnterBtn = new QPushButton(QStringLiteral("&Enter"), this);
    EnterBtn->setGeometry(528, 216, 49, 25);
    EnterBtn->setToolTip(QStringLiteral("valid the identification"));
    EnterBtn->setDefault(true);

    Panel1 = new TPanel(this);
    Panel1->setGeometry(378, 2, 202, 145);
    Panel1->setBevelOuter(TPanelBevel::bvLowered);
    Panel1->setBevelInner(TPanelBevel::bvRaised);
    Panel2 = new TPanel(Panel1);
    Panel2->setGeometry(4, 4, 193, 25);
    Panel2->setBevelOuter(TPanelBevel::bvNone);
    SpeedButton1 = new TColorSpeedButton(Panel2);
    SpeedButton1->setGeometry(8, 4, 16, 16);
    SpeedButton1->setGlyph(plannerglyphs::arrowLeft());
    SpeedButton2 = new TColorSpeedButton(Panel2);
    SpeedButton2->setGeometry(168, 4, 16, 16);
    SpeedButton2->setGlyph(plannerglyphs::arrowRight());
    Cald = new TCalendar(Panel1);
    if (Cald->ShownDate() != createdOn_)
        Cald->SetShownDate(createdOn_);
    Cald->setGeometry(5, 33, 193, 108);
    Cald->setColor(Qt::white);
    Cald->setStartOfWeek(0);

    Panel3 = new TPanel(this);
    Panel3->setGeometry(0, 254, 580, 176);
    Panel3->setBevelInner(TPanelBevel::bvRaised);
    TreeView1 = new QTreeWidget(Panel3);
    TreeView1->setGeometry(2, 2, 150, 172);
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    TreeView1->setIndentation(19);
    TreeView1->setIconSize(QSize(16, 16));
    ListView1 = new QTreeWidget(Panel3);
    ListView1->setGeometry(153, 2, 425, 172);
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels(
        { QStringLiteral("Activity"), QStringLiteral("Date"), QStringLiteral("Hour"), QStringLiteral("Kind") });
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsClickable(false);
    ListView1->setColumnWidth(0, 220);
    ListView1->setColumnWidth(1, 60);
    ListView1->setColumnWidth(2, 60);
    ListView1->setColumnWidth(3, 65);
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSortingEnabled(true);
    ListView1->sortByColumn(0, Qt::AscendingOrder);
    ListView1->header()->setSortIndicatorShown(false);
    // A caption can be edited in place; the edit is not stored.
    ListView1->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    ListView1->setIconSize(QSize(32, 16));
    Splitter1 = new TSplitter(Panel3);
    Splitter1->setGeometry(150, 2, 5, 172);
    Splitter1->setTreeView(TreeView1);
    Splitter1->setListView(ListView1);
    Splitter1->raise();
    // Names for screen readers of the controls that show none of their own.
    User->setBuddy(Edit1);
    Pass->setBuddy(Edit2);
    SpeedButton1->setAccessibleName(QStringLiteral("Month back"));
    SpeedButton2->setAccessibleName(QStringLiteral("Month forward"));
    TreeView1->setAccessibleName(QStringLiteral("Days"));
    ListView1->setAccessibleName(QStringLiteral("Entries of the day"));

    connect(ColorSpeedButton1, &TColorSpeedButton::clicked, this, [this] { ColorSpeedButton1Click(); });
    connect(SpeedButton3, &TColorSpeedButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(TodayBtn, &QPushButton::clicked, this, platform::guardedSlot([this] { TodayBtnClick(); }));
    connect(EnterBtn, &QPushButton::clicked, this, platform::guardedSlot([this] { EnterBtnClick(); }));
    connect(SpeedButton1, &TColorSpeedButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &TColorSpeedButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(Cald, &TCalendar::OnChange, this, [this] { CaldChange(); });
    // The list's context menu, also opened by the keyboard's menu key.
    ListMenu = new QMenu(this);
    ImportItem = ListMenu->addAction(QStringLiteral("&Import iCalendar File..."));
    ExportItem = ListMenu->addAction(QStringLiteral("E&xport iCalendar File..."));
    connect(ImportItem, &QAction::triggered, this, platform::guardedSlot([this] { ImportItemClick(); }));
    connect(ExportItem, &QAction::triggered, this, platform::guardedSlot([this] { ExportItemClick(); }));
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const bool loggedIn = !Planning->User().isEmpty();
        ImportItem->setEnabled(loggedIn);
        ExportItem->setEnabled(loggedIn);
        ListMenu->popup(ListView1->viewport()->mapToGlobal(at));
    });
    TreeView1->viewport()->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);

    platform::guarded([this] { FormCreate(); });
}

TMainFormer::~TMainFormer()
{
    // The grid saves its day while the rest of the window still stands.
    delete Planning;
    Planning = nullptr;
}

void TMainFormer::ShowDateCaption()
{
    Panel2->setCaption(
        rtl::FormatDateTime(QStringLiteral("dddd d mmmm yy"), QDateTime(Cald->ShownDate(), QTime(0, 0))));
}

void TMainFormer::FormCreate()
{
    ShowDateCaption();
    Planning = new TPlanning(this);
    Planning->setPath(createdIn_ + u'/');
    Planning->SetPlanDate(createdOn_);
    Planning->setGeometry(2, 2, 374, 250);
    Planning->setAuthentication(true);
    Planning->setEnabled(false);
    Planning->setTreeView(TreeView1);
    Planning->setListView(ListView1);
    Planning->setTreeImages(ImageList1);
    Planning->setListImages(ImageList2);
    ShowNobody();
}

void TMainFormer::ShowNobody()
{
    TreeView1->clear();
    auto* node = new QTreeWidgetItem(TreeView1, QStringList(QStringLiteral("TPlanning Pro")));
    node->setData(0, TPlanning::ImageIndexRole, 2);
    if (ImageList1.size() > 2)
        node->setIcon(0, QIcon(QPixmap::fromImage(ImageList1.at(2))));
}

void TMainFormer::FormShow()
{
    if (session().Form1)
        session().Form1->hide();
    if (!shownBefore_) {
        shownBefore_ = true;
        Edit1->setFocus();
    }
}

void TMainFormer::FormClose()
{
    if (session().Form1)
        session().Form1->showAndRaise();
}

void TMainFormer::LeaveUser()
{
    if (!Planning->User().isEmpty())
        Planning->SaveDay();
    Planning->ClearDay();
    Planning->ClearStore();
    Planning->setUser(QString());
    Planning->setPass(QString());
    ShowNobody();
    ListView1->clear();
}

void TMainFormer::EnterBtnClick()
{
    const QString name = Edit1->text();
    QString problem = plan::userNameProblem(name);
    if (problem.isEmpty())
        problem = plan::passwordProblem(Edit2->text());
    if (!problem.isEmpty()) {
        platform::dialogs().information(BoxCaption, problem);
        return;
    }
    Planning->setEnabled(true);
    const bool sameUser = !Planning->User().isEmpty() && name == Planning->User();
    if (!sameUser) {
        // Another user's entries never stay in the grid or the store.
        LeaveUser();
        Planning->setUser(name);
    }
    Planning->setPass(Edit2->text());
    auto nobody = [this] {
        Planning->ClearStore();
        Planning->setUser(QString());
        Planning->setPass(QString());
        Planning->setEnabled(false);
    };
    bool accepted = false;
    try {
        // A new user's entries are read before anything is written: a file
        // that cannot be read logs nobody in and registers nothing.
        if (!sameUser)
            Planning->LoadStore();
        accepted = Planning->CheckUser();
        // For the same user the day is loaded over what the grid holds.
        if (accepted)
            Planning->LoadDay();
    } catch (...) {
        if (!sameUser)
            nobody();
        throw;
    }
    if (accepted) {
        Planning->FillTree();
        if (!plan::canPack(Planning->PlanDate())) {
            Planning->setEnabled(false);
            platform::dialogs().information(BoxCaption, outsideYearsMessage());
        }
        return;
    }
    if (sameUser)
        LeaveUser();
    nobody();
    Edit2->clear();
    platform::dialogs().information(BoxCaption, QStringLiteral("Bad Password !"));
}

void TMainFormer::CaldChange()
{
    const QDate date = Cald->ShownDate();
    if (!plan::canPack(date)) {
        // Days outside the packable years would share one key: stay where we were.
        {
            const QSignalBlocker quiet(Cald);
            Cald->SetShownDate(Planning->PlanDate());
        }
        platform::dialogs().information(BoxCaption, outsideYearsMessage());
        return;
    }
    Planning->SaveDay();
    RefreshTree();
    // In one step: day, month and year one after the other could pass
    // through a day that does not exist.
    Planning->SetPlanDate(date);
    Planning->ClearDay();
    Planning->LoadDay();
    // A grid held back on a day outside the years takes typing again.
    Planning->setEnabled(!Planning->User().isEmpty());
    ShowDateCaption();
}

void TMainFormer::SpeedButton1Click() { Cald->MonthBack(); }

void TMainFormer::SpeedButton2Click() { Cald->MonthForward(); }

void TMainFormer::TodayBtnClick()
{
    // One change of the calendar, so one hand-over to the grid.
    const QDate today = platform::now().date();
    if (Cald->ShownDate() != today)
        Cald->SetShownDate(today);
}

void TMainFormer::SpeedButton3Click() { RefreshTree(); }

void TMainFormer::RefreshTree()
{
    if (Planning->User().isEmpty())
        ShowNobody();
    else
        Planning->FillTree();
}

void TMainFormer::ColorSpeedButton1Click() { Planning->ClearDay(); }

void TMainFormer::TreeView1Click()
{
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    if (selected.isEmpty())
        return;
    // Only day nodes carry a date; any other node empties the list.
    Planning->FillList(selected.first()->data(0, TPlanning::DateRole).toDate());
}

void TMainFormer::ListView1Click()
{
    if (!ListView1->selectedItems().isEmpty())
        Planning->ToggleDone();
}

plan::PlannerLayout TMainFormer::GridLayout() const
{
    plan::PlannerLayout layout;
    for (int c = 1; c < Planning->ColCount(); ++c)
        layout.kinds << Planning->Cells(c, 0);
    for (int r = 1; r < Planning->RowCount(); ++r)
        layout.hours << Planning->Cells(0, r);
    return layout;
}

QString TMainFormer::CalendarFolder() const { return calendarFolder_.isEmpty() ? QDir::homePath() : calendarFolder_; }

void TMainFormer::ImportItemClick()
{
    if (Planning->User().isEmpty())
        return;
    const auto chosen = plan::calendarFileDialog().chooseCalendarFile(
        this, plan::CalendarFileUse::Import, CalendarFolder(), QString());
    if (!chosen)
        return;
    calendarFolder_ = QFileInfo(*chosen).absolutePath();
    // Read before anything is written: a file that is no calendar changes nothing.
    const plan::CalendarImport calendar = plan::readCalendarFile(*chosen, QTimeZone::systemTimeZone());
    // The grid's edits reach the file first; the grid then shows its day as filed.
    Planning->SaveDay();
    const plan::ImportReport report = plan::importCalendar(calendar, Planning->PlannerFileName(), GridLayout());
    if (plan::canPack(Planning->PlanDate())) {
        Planning->ClearDay();
        Planning->LoadDay();
    }
    RefreshTree();
    platform::dialogs().information(BoxCaption, plan::importMessage(QFileInfo(*chosen).fileName(), report));
}

void TMainFormer::ExportItemClick()
{
    if (Planning->User().isEmpty())
        return;
    const auto chosen = plan::calendarFileDialog().chooseCalendarFile(
        this, plan::CalendarFileUse::Export, CalendarFolder(), Planning->User() + QStringLiteral(".ics"));
    if (!chosen)
        return;
    calendarFolder_ = QFileInfo(*chosen).absolutePath();
    Planning->SaveDay();
    const int count = plan::exportCalendarFile(
        Planning->PlannerFileName(), Planning->User(), GridLayout(), platform::now(), *chosen);
    platform::dialogs().information(
        BoxCaption, plan::exportMessage(Planning->User(), count, QFileInfo(*chosen).fileName()));
}

void TMainFormer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        // A focused button takes Enter itself; everywhere else Enter logs in.
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget()))
            button->click();
        else
            EnterBtn->click();
        return;
    }
    TForm::keyPressEvent(event);
}

bool TMainFormer::eventFilter(QObject* watched, QEvent* event)
{
    // A click acts once the view has handled it, so the handler may refill the view.
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == TreeView1->viewport())
            QMetaObject::invokeMethod(this, platform::guardedSlot([this] { TreeView1Click(); }), Qt::QueuedConnection);
        else if (watched == ListView1->viewport())
            QMetaObject::invokeMethod(this, platform::guardedSlot([this] { ListView1Click(); }), Qt::QueuedConnection);
    }
    return TForm::eventFilter(watched, event);
}
