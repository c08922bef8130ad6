// Start-up: the seven windows, created hidden in their fixed order.
#pragma once

#include <functional>
#include <memory>

class TForm1;
class TMainForm;
class TForm2;
class TMainFormer;
class TAlarm1;
class TForm3;
class TForm4;

// Owns the seven windows; they are destroyed in the reverse order of creation.
class Windows final {
public:
    // `afterControlBox` runs once the control box exists, before the other six are made.
    explicit Windows(const std::function<void()>& afterControlBox = {});
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TMainForm> mainForm_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TMainFormer> mainFormer_;
    std::unique_ptr<TAlarm1> alarm1_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
};

// The whole program: the application title, the windows, the event loop.
int runKavroStart(int argc, char** argv);
