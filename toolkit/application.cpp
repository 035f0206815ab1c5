#include "toolkit/application.h"

#include <windows.h>

#include <algorithm>

#include "toolkit/event_gate.h"
#include "toolkit/form.h"

Application& Application::instance() {
    static Application application;
    return application;
}

void Application::addForm(Form& form) { forms_.push_back(&form); }

void Application::removeForm(Form& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
}

int Application::run() {
    return run([](MSG& message) { return static_cast<int>(GetMessageA(&message, nullptr, 0, 0)); });
}

int Application::run(const std::function<int(MSG& message)>& nextMessage) {
    running_ = true;
    MSG message{};
    int exitCode = kMessageLoopFailed;
    for (;;) {
        const int got = nextMessage(message);
        if (got == 0) {
            exitCode = static_cast<int>(message.wParam);
            break;
        }
        // The message left from before a failure is no exit code.
        if (got == -1) break;
        const bool translated =
            std::any_of(forms_.begin(), forms_.end(), [&](Form* form) { return form->translateAccelerator(message); });
        if (translated) continue;
        if (std::any_of(forms_.begin(), forms_.end(), [&](Form* form) { return form->navigateByKey(message); }))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    running_ = false;
    return exitCode;
}

void Application::terminate() { PostQuitMessage(0); }

void Application::postEvent(ApplicationEvent event) {
    Form* main = mainForm();
    if (!main || !main->handle()) return;
    // Activation reports come from every form of the program; one pending
    // activation event is enough.
    if (event == ApplicationEvent::activate) {
        if (activationPending_) return;
        activationPending_ = true;
    }
    PostMessageA(main->handle(), kApplicationEventMessage, static_cast<WPARAM>(event), 0);
}

void Application::fireEvent(ApplicationEvent event) {
    switch (event) {
        case ApplicationEvent::activate:
            activationPending_ = false;
            if (OnActivate) OnActivate();
            break;
        case ApplicationEvent::minimize:
            if (OnMinimize) OnMinimize();
            break;
        case ApplicationEvent::restore:
            if (OnRestore) OnRestore();
            break;
    }
}

void Application::showError(const std::string& text) {
    if (errorBoxOpen_) return;
    errorBoxOpen_ = true;
    Form* main = mainForm();
    const EventGate::OpenForModalBox open;
    MessageBoxA(main ? main->handle() : nullptr, text.c_str(), title_.c_str(), MB_ICONERROR | MB_OK | MB_SETFOREGROUND);
    errorBoxOpen_ = false;
}
