// Message boxes for benchmarks: any box means the menu or a picture did not
// load, so the run is void and the benchmark ends at once.
#pragma once

#include "platform/Dialogs.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

class FailingDialogs final : public platform::Dialogs {
public:
    FailingDialogs() { platform::setDialogs(this); }
    ~FailingDialogs() override { platform::setDialogs(nullptr); }
    FailingDialogs(const FailingDialogs&) = delete;
    FailingDialogs& operator=(const FailingDialogs&) = delete;

    void information(const QString& caption, const QString& text) override { fail(caption + ": " + text); }
    void error(const QString& text) override { fail(text); }

private:
    static void fail(const QString& message)
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(message));
        std::exit(1);
    }
};

} // namespace bench
