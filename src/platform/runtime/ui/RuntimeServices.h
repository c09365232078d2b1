#pragma once
// The runtime's replaceable services in one place. The program installs the real ones at start
// (InstallRealRuntimeServices, or services::InstallRealServices for everything); tests install
// doubles of their own (tests/support). Until something is installed, message boxes and modal
// forms refuse every call (UnexpectedDialog), so a test can never hang on a hidden dialog.
#include <QString>

#include <memory>
#include <stdexcept>

namespace vb {

class FormBase;
class MessageService;
class BeepService;
class PauseService;
class ClockService;
class RandomService;

// A dialog that nothing was installed to answer.
class UnexpectedDialog : public std::runtime_error {
public:
    explicit UnexpectedDialog(const QString& what) : std::runtime_error(what.toStdString()) {}
};

// Runs a form modally: returns when the form is hidden or unloaded.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    virtual void Run(FormBase& form) = 0;
};

// The real modal loop (a local event loop until the form hides or unloads).
class QtModalRunner : public ModalRunner {
public:
    void Run(FormBase& form) override;
};

struct RuntimeServices {
    std::shared_ptr<MessageService> messages;
    std::shared_ptr<ModalRunner> modal;
    std::shared_ptr<BeepService> beep;
    std::shared_ptr<PauseService> pause;
    std::shared_ptr<ClockService> clock;
    std::shared_ptr<RandomService> random;
};

// The services in use; assign members to replace one.
RuntimeServices& Runtime();
void InstallRealRuntimeServices();

} // namespace vb
