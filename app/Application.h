// The application object: the last line of defence for errors that escape a handler.
#pragma once

#include <QApplication>

class KavroApplication final : public QApplication {
    Q_OBJECT
public:
    KavroApplication(int& argc, char** argv);

    // Any error that reaches the event loop is shown once in the standard
    // error box, and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;
};
