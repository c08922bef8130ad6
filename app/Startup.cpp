// Start-up sequence.
#include "app/Startup.h"

#include "app/Application.h"
#include "app/Session.h"
#include "desk/Blanker.h"
#include "desk/MyAlarm1.h"
#include "desk/Scrollpas.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "planner/Planner.h"
#include "platform/StartupProbe.h"
#include "platform/SystemColors.h"
#include "sysinfo/About.h"

// Each window's creation handler runs as it is created, so the control box
// has recorded the start folder before the launcher reads its first menu.
Windows::Windows()
{
    Session& s = session();
    form1_ = std::make_unique<TForm1>();
    s.Form1 = form1_.get();
    mainForm_ = std::make_unique<TMainForm>();
    s.MainForm = mainForm_.get();
    form2_ = std::make_unique<TForm2>();
    s.Form2 = form2_.get();
    mainFormer_ = std::make_unique<TMainFormer>();
    s.MainFormer = mainFormer_.get();
    alarm1_ = std::make_unique<TAlarm1>();
    s.Alarm1 = alarm1_.get();
    form3_ = std::make_unique<TForm3>();
    s.Form3 = form3_.get();
    form4_ = std::make_unique<TForm4>();
    s.Form4 = form4_.get();
}

Windows::~Windows()
{
    Session& s = session();
    form4_.reset();
    s.Form4 = nullptr;
    form3_.reset();
    s.Form3 = nullptr;
    alarm1_.reset();
    s.Alarm1 = nullptr;
    mainFormer_.reset();
    s.MainFormer = nullptr;
    form2_.reset();
    s.Form2 = nullptr;
    mainForm_.reset();
    s.MainForm = nullptr;
    form1_.reset();
    s.Form1 = nullptr;
}

int runKavroStart(int argc, char** argv)
{
    KavroApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    platform::installClassicLook(app);
    QApplication::setApplicationName(QStringLiteral("Kavro Start"));

    Windows windows;
    platform::reportFirstPaint(session().Form1);
    session().Form1->show();
    return app.exec();
}
