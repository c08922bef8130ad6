// Note window.
#include "pinnotes/NoteWindow.h"

#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "rtl/Errors.h"

#include <QCloseEvent>
#include <QFile>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

NoteWindow::NoteWindow(QString notesFile, const QString& olderFile, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
    , notesFile_(std::move(notesFile))
{
    setWindowTitle(QStringLiteral("Pin Notes"));
    resize(240, 200);
    editor_ = new QPlainTextEdit(this);
    QPalette yellow = editor_->palette();
    yellow.setColor(QPalette::Base, QColor(255, 255, 160));
    yellow.setColor(QPalette::Text, Qt::black);
    editor_->setPalette(yellow);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    const QString shown = QFile::exists(notesFile_) || olderFile.isEmpty() ? notesFile_ : olderFile;
    if (QFile::exists(shown)) {
        try {
            editor_->setPlainText(QString::fromUtf8(platform::readWholeFile(shown)));
        } catch (const rtl::Exception& error) {
            setWindowTitle(QStringLiteral("Pin Notes - ") + error.message());
        }
    }
    // A pause in typing writes the note, so nothing typed is lost.
    saveTimer_ = new QTimer(this);
    saveTimer_->setSingleShot(true);
    saveTimer_->setInterval(800);
    connect(saveTimer_, &QTimer::timeout, this, [this] { save(); });
    connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
        dirty_ = true;
        saveTimer_->start();
    });
}

NoteWindow::~NoteWindow()
{
    if (dirty_)
        save();
}

QString NoteWindow::text() const { return editor_->toPlainText(); }

bool NoteWindow::save()
{
    try {
        platform::makePrivateFolderIfMissing(platform::folderOf(notesFile_));
        platform::replaceFileAtomically(notesFile_, editor_->toPlainText().toUtf8(), 0600);
        dirty_ = false;
        setWindowTitle(QStringLiteral("Pin Notes"));
        return true;
    } catch (const rtl::Exception& error) {
        setWindowTitle(QStringLiteral("Pin Notes - not saved: ") + error.message());
        return false;
    }
}

void NoteWindow::closeEvent(QCloseEvent* event)
{
    if (dirty_)
        save();
    event->accept();
}
