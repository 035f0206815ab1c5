#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/toolkit_messages.h"

class Form;
struct tagMSG;  // MSG

// The single application object: its title, its forms, the message loop and
// the application events, each fired after the action it reports (activation
// shortly after the program became the active application).
class Application {
public:
    static Application& instance();

    void setTitle(const std::string& title) { title_ = title; }
    const std::string& title() const { return title_; }

    Form* mainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
    // True from the start of the message loop on.
    bool running() const { return running_; }

    // Runs the message loop until the main form has closed, and returns the
    // exit code that came with the quit message; kMessageLoopFailed when the
    // system could deliver no more messages (GetMessageA failing).
    int run();
    // The same loop over another source of messages that answers as
    // GetMessageA does: above 0 a message, 0 the quit message, -1 a failure.
    int run(const std::function<int(tagMSG& message)>& nextMessage);
    static constexpr int kMessageLoopFailed = 1;
    void terminate();

    std::function<void()> OnActivate;
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

    // The error box: the application's title, an error icon, "OK"; owned by the
    // main form. At most one is open: an error raised meanwhile is dropped.
    void showError(const std::string& text);
    bool errorBoxOpen() const { return errorBoxOpen_; }

    // True from the query that ends the Windows session until the program
    // ends (or the session goes on after all): loops that wait for the game
    // or the user inside a handler end at once, so that the shutdown can run.
    bool sessionEnding() const { return sessionEnding_; }
    void setSessionEnding(bool ending) { sessionEnding_ = ending; }

    // Toolkit-internal: kept up to date by the forms.
    void addForm(Form& form);
    void removeForm(Form& form);
    void postEvent(ApplicationEvent event);
    void fireEvent(ApplicationEvent event);

private:
    Application() = default;

    std::string title_;
    std::vector<Form*> forms_;
    bool running_ = false;
    bool errorBoxOpen_ = false;
    bool activationPending_ = false;
    bool sessionEnding_ = false;
};
