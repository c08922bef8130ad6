// Helpers of the editor tests: scripted dialogs and a start folder with a
// launcher and an editor over its menu.
#pragma once

#include "editor/EditorDialogs.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "platform/FileIO.h"
#include "platform/FilePaths.h"
#include "rtl/TextFile.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace editor_tests {

// Answers the editor's dialogs from queues and records how each was opened.
class ScriptedEditorDialogs final : public editor::EditorDialogs {
public:
    struct FileCall {
        QString folder;
        QString fileName;
        QStringList filters;
    };

    ScriptedEditorDialogs() { editor::setEditorDialogs(this); }
    ~ScriptedEditorDialogs() override { editor::setEditorDialogs(nullptr); }

    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override
    {
        colorAsked.push_back(initial);
        return next(colorAnswers, "colour");
    }
    std::optional<editor::FontChoice> chooseFont(QWidget*, const editor::FontChoice& initial) override
    {
        fontAsked.push_back(initial);
        return next(fontAnswers, "font");
    }
    std::optional<QString> chooseFile(QWidget*, editor::FileDialogKind kind, const QString& folder,
        const QString& fileName, const QStringList& filters) override
    {
        const bool open = kind == editor::FileDialogKind::Open;
        (open ? openCalls : saveCalls).push_back({ folder, fileName, filters });
        return next(fileAnswers, open ? "open" : "save");
    }

    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<editor::FontChoice>> fontAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::vector<QColor> colorAsked;
    std::vector<editor::FontChoice> fontAsked;
    std::vector<FileCall> openCalls;
    std::vector<FileCall> saveCalls;

private:
    template <class T> static std::optional<T> next(std::deque<std::optional<T>>& answers, const char* dialog)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << dialog << " dialog";
            return std::nullopt;
        }
        std::optional<T> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A start folder whose ConFigs/Main.ini holds `lines`, the launcher and the
// editor over it, and scripted dialogs and message boxes.
class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        resetSession();
        session().StartFolder = folder.path();
        writeMenu(lines);
    }

    void TearDown() override
    {
        form2.reset();
        mainForm.reset();
        resetSession();
    }

    QString mainMenu() const { return folder.filePath(QStringLiteral("ConFigs/Main.ini")); }

    void writeMenu(const QList<QByteArray>& menuLines)
    {
        testing_support::writeFile(mainMenu(), rtl::joinCrLf(menuLines));
    }

    // Builds the windows as start-up does; the launcher loads Main.ini.
    void createWindows()
    {
        mainForm = std::make_unique<TMainForm>();
        session().MainForm = mainForm.get();
        form2 = std::make_unique<TForm2>();
        session().Form2 = form2.get();
        form2->setApplyMenu([this] { mainForm->ApplyMenu(); });
        // What the launcher reported about the menu is not the editor's concern.
        boxes.boxes.clear();
    }

    // The edit gesture on gadget n.
    void openOn(int n)
    {
        if (!form2)
            createWindows();
        session().Menu.EditedGadget = n;
        form2->showAndRaise();
    }

    QList<QByteArray> fileLines(const QString& path) const { return platform::readAllTextLines(path); }

    QTemporaryDir folder;
    // The editor's browsing may move the current folder; it comes back with the test.
    testing_support::ScopedCurrentFolder keepFolder;
    QList<QByteArray> lines = testing_support::sampleMenuLines();
    testing_support::RecordingDialogs boxes;
    ScriptedEditorDialogs dialogs;
    std::unique_ptr<TMainForm> mainForm;
    std::unique_ptr<TForm2> form2;
};

} // namespace editor_tests
