#include "platform/runtime/ui/Form.h"

#include "platform/runtime/ui/RuntimeServices.h"
#include "platform/runtime/ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace vb {

namespace {

struct DefaultEntry {
    FormBase* form = nullptr;
    QPointer<QWidget> widget; // notices a deletion we did not make
};

// Keyed by the type's name: type_info objects need not be unique across libraries.
std::map<std::string, DefaultEntry>& DefaultInstances()
{
    static std::map<std::string, DefaultEntry> instances;
    return instances;
}

void ForgetDefaultInstance(FormBase* form)
{
    auto& instances = DefaultInstances();
    for (auto it = instances.begin(); it != instances.end(); ++it) {
        if (it->second.form == form) {
            instances.erase(it);
            return;
        }
    }
}

// The form that last received Form_Activate: coming back to the same form (for instance from
// another program) is not an activation.
FormBase*& LastActivated()
{
    static FormBase* form = nullptr;
    return form;
}

// Resets a flag when the scope ends, whatever way it ends.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
};

// A sub-window's title bar learns which of its buttons is under the mouse from mouse moves,
// and forgets it when the mouse leaves, as it does for a question the closing asks. A click
// with no move after that (the close box clicked again) would do nothing: each press is
// first told where the mouse is.
class TitleBarPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto* press = static_cast<QMouseEvent*>(event);
            QMouseEvent move(QEvent::MouseMove, press->position(), press->globalPosition(), Qt::NoButton, Qt::NoButton,
                             press->modifiers());
            QCoreApplication::sendEvent(watched, &move);
        }
        return QObject::eventFilter(watched, event);
    }
};

const char* const kFormBehaviourName = "vbFormBehaviour";

// Watches every widget of the application, acting only on the labels and buttons of forms.
class FormBehaviour : public QObject {
public:
    explicit FormBehaviour(QObject* application) : QObject(application)
    {
        setObjectName(QLatin1String(kFormBehaviourName));
        application->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Polish:
            if (auto* label = qobject_cast<QLabel*>(watched))
                showAsTyped(*label);
            break;
        case QEvent::KeyPress:
            if (qobject_cast<QPushButton*>(watched) || qobject_cast<QToolButton*>(watched))
                return enterClicks(*static_cast<QAbstractButton*>(watched), *static_cast<QKeyEvent*>(event));
            break;
        default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Labels read text that looks like markup as rich text by default, so a custom label
    // "<b>x</b>" would show bold. Every label is polished before it is first drawn; one that
    // asked for rich text keeps it, and Qt's own windows (tool tips, message boxes) are left.
    static void showAsTyped(QLabel& label)
    {
        if (label.textFormat() == Qt::AutoText && dynamic_cast<const FormBase*>(label.window()))
            label.setTextFormat(Qt::PlainText);
    }

    static bool enterClicks(QAbstractButton& button, const QKeyEvent& key)
    {
        if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
            return false;
        if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !button.isEnabled())
            return false;
        if (const auto* push = qobject_cast<const QPushButton*>(&button); push && (push->autoDefault() || push->isDefault()))
            return false;
        // A held key is one press, as it is for Space.
        if (!key.isAutoRepeat())
            button.click();
        return true;
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// FormsCollection

FormsCollection& Forms()
{
    static FormsCollection forms;
    return forms;
}

FormBase* FormsCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return forms_[static_cast<size_t>(index)];
}

FormBase* FormsCollection::Find(const QString& name) const
{
    for (FormBase* form : forms_) {
        if (form->Name() == name)
            return form;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Default instances

FormBase* findDefaultInstance(const std::type_info& type)
{
    auto& instances = DefaultInstances();
    const auto it = instances.find(type.name());
    if (it == instances.end())
        return nullptr;
    if (it->second.widget.isNull()) {
        instances.erase(it);
        return nullptr;
    }
    return it->second.form;
}

void registerDefaultInstance(const std::type_info& type, FormBase* form)
{
    form->defaultType_ = &type;
    DefaultInstances()[type.name()] = DefaultEntry{form, form->widget()};
}

namespace {

std::map<QString, FormBase* (*)()>& DefaultFactories()
{
    static std::map<QString, FormBase* (*)()> factories;
    return factories;
}

} // namespace

void registerDefaultFactory(const QString& name, FormBase* (*factory)()) { DefaultFactories()[name] = factory; }

FormBase* DefaultInstanceByName(const QString& name)
{
    const auto& factories = DefaultFactories();
    const auto it = factories.find(name);
    return it == factories.end() ? nullptr : it->second();
}

void DestroyAllForms()
{
    auto& forms = Forms().forms_;
    const std::vector<FormBase*> loaded = forms;
    forms.clear();
    LastActivated() = nullptr;
    std::vector<QWidget*> doomed;
    for (FormBase* form : loaded) {
        form->loaded_ = false;
        form->Window()->hide();
        // Children of a main window go with their sub-windows.
        if (form->subWindow_)
            doomed.push_back(form->subWindow_);
    }
    // Default instances go, loaded or not.
    for (auto& [name, entry] : DefaultInstances()) {
        if (entry.widget.isNull())
            continue;
        entry.form->defaultType_ = nullptr;
        doomed.push_back(entry.form->Window());
    }
    DefaultInstances().clear();
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    for (QWidget* widget : doomed)
        widget->deleteLater();
}

// ---------------------------------------------------------------------------------------------
// FormBase

FormBase::~FormBase()
{
    auto& forms = Forms().forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (LastActivated() == this)
        LastActivated() = nullptr;
    if (defaultType_)
        ForgetDefaultInstance(this);
}

QString FormBase::Name() const { return widget()->objectName(); }

QString FormBase::Caption() const { return widget()->windowTitle(); }

void FormBase::setCaption(const QString& caption) { widget()->setWindowTitle(caption); }

QWidget* FormBase::Window()
{
    if (subWindow_)
        return subWindow_;
    return widget();
}

MDIForm* FormBase::MdiParent() const
{
    if (!subWindow_)
        return nullptr;
    for (QWidget* w = subWindow_->parentWidget(); w; w = w->parentWidget()) {
        if (auto* main = qobject_cast<MDIForm*>(w))
            return main;
    }
    return nullptr;
}

void FormBase::Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    Forms().forms_.push_back(this);
    // An error in Form_Load reaches the caller; the form stays loaded, as it was.
    loadEvent();
}

void FormBase::Show(int modal)
{
    Load();
    // Form_Load may have unloaded the form again.
    if (!loaded_)
        return;
    if (modal == vbModal) {
        Runtime().modal->Run(*this);
        return;
    }
    showWindow();
}

void FormBase::Hide()
{
    Load();
    if (loaded_)
        Window()->hide();
}

bool FormBase::Visible() const
{
    if (subWindow_)
        return subWindow_->isVisible();
    return widget()->isVisible();
}

bool FormBase::Unload(int unloadMode)
{
    if (!loaded_)
        return true;
    if (unloading_)
        return true; // asked again from inside its own unload events
    {
        FlagGuard guard(unloading_);
        int cancel = 0;
        queryUnloadEvent(cancel, unloadMode);
        if (cancel != 0)
            return false;
        if (!unloadChildren())
            return false;
        unloadEvent(cancel);
        if (cancel != 0)
            return false;
    }
    finishUnload();
    return true;
}

void FormBase::finishUnload()
{
    loaded_ = false;
    auto& forms = Forms().forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (LastActivated() == this)
        LastActivated() = nullptr;
    const bool wasDefault = defaultType_ != nullptr;
    if (wasDefault) {
        ForgetDefaultInstance(this);
        defaultType_ = nullptr;
    }
    releaseWindow(wasDefault);
    // A deleted form goes later, from the event loop: it is still whole here.
    notifyUnloaded();
}

void FormBase::handleActivate()
{
    if (!loaded_ || LastActivated() == this)
        return;
    LastActivated() = this;
    activateEvent();
}

void FormBase::handleResize()
{
    if (loaded_)
        resizeHandler();
}

void FormBase::handleClose(QCloseEvent* event)
{
    if (!loaded_ || unloading_) {
        event->accept();
        return;
    }
    bool unloaded = false;
    {
        FlagGuard guard(closingFromEvent_);
        unloaded = Unload(vbFormControlMenu);
    }
    if (unloaded)
        event->accept();
    else
        event->ignore();
}

// ---------------------------------------------------------------------------------------------
// Form

Form::Form(const QString& name, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(name);
    // A window of its own opens over the main window and within the screen, unless its own
    // code places it.
    placeWhenFirstShown(*this);
}

Form::~Form() = default;

void Form::Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
void Form::Form_Unload(int& /*cancel*/) {}

bool Form::event(QEvent* event)
{
    // A child inside the main window hears of its activation from the main window's area: the
    // window system tells of the main window's only, and tells every child of it.
    if (event->type() == QEvent::WindowActivate && !subWindow_)
        handleActivate();
    return QWidget::event(event);
}

void Form::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    handleResize();
}

void Form::closeEvent(QCloseEvent* event) { handleClose(event); }

void Form::showWindow()
{
    if (mdiChild_ && !subWindow_) {
        if (MDIForm* main = MDIForm::Current()) {
            subWindow_ = main->MdiArea()->addSubWindow(this);
            subWindow_->installEventFilter(new TitleBarPresses(subWindow_));
            // Shown, chosen, or next in line when another child closes: each is an activation.
            connect(main->MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
                if (window && window == subWindow_)
                    handleActivate();
            });
        }
    }
    if (subWindow_) {
        show();
        subWindow_->show();
        if (auto* area = subWindow_->mdiArea())
            area->setActiveSubWindow(subWindow_);
        return;
    }
    show();
    raise();
    activateWindow();
}

void Form::releaseWindow(bool deleteForm)
{
    if (subWindow_) {
        // The sub-window owns the form and deletes itself (and so the form) once closed. When
        // the user closed it, that close is already under way.
        if (!closingFromEvent_)
            subWindow_->close();
        return;
    }
    hide();
    if (deleteForm)
        deleteLater();
}

// ---------------------------------------------------------------------------------------------
// MDIForm

MDIForm::MDIForm(const QString& name, QWidget* parent) : QMainWindow(parent), mdiArea_(new QMdiArea(this))
{
    setObjectName(name);
    mdiArea_->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(mdiArea_);
}

MDIForm::~MDIForm() = default;

void MDIForm::MDIForm_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
void MDIForm::MDIForm_Unload(int& /*cancel*/) {}

MDIForm* MDIForm::Current()
{
    for (FormBase* form : Forms().Snapshot()) {
        if (auto* main = dynamic_cast<MDIForm*>(form))
            return main;
    }
    return nullptr;
}

FormBase* MDIForm::ActiveForm() const
{
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    if (!active)
        return nullptr;
    return dynamic_cast<FormBase*>(active->widget());
}

bool MDIForm::unloadChildren()
{
    std::vector<FormBase*> children;
    for (FormBase* form : Forms().Snapshot()) {
        if (form != this && form->MdiParent() == this)
            children.push_back(form);
    }
    // Every child is asked first; any refusal keeps them all.
    for (FormBase* child : children) {
        int cancel = 0;
        child->queryUnloadEvent(cancel, vbFormMDIForm);
        if (cancel != 0)
            return false;
    }
    for (FormBase* child : children) {
        int cancel = 0;
        child->unloadEvent(cancel);
        if (cancel != 0)
            return false;
        // Already asked: take it out without asking again.
        child->finishUnload();
    }
    return true;
}

bool MDIForm::event(QEvent* event)
{
    // Coming to the main window activates the child in front, when there is one.
    if (event->type() == QEvent::WindowActivate) {
        if (FormBase* child = ActiveForm())
            child->handleActivate();
        else
            handleActivate();
    }
    return QMainWindow::event(event);
}

void MDIForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    handleResize();
}

void MDIForm::closeEvent(QCloseEvent* event) { handleClose(event); }

void MDIForm::showWindow()
{
    show();
    raise();
    activateWindow();
}

void MDIForm::releaseWindow(bool deleteForm)
{
    hide();
    if (deleteForm)
        deleteLater();
}

void InstallFormBehaviour()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application && !application->findChild<QObject*>(QLatin1String(kFormBehaviourName), Qt::FindDirectChildrenOnly))
        new FormBehaviour(application); // owned by the application
}

ScrollingBody makeScrollingBody(QWidget* form, QWidget* below)
{
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    auto* body = new QVBoxLayout(content);
    auto* scroller = new QScrollArea(form);
    scroller->setObjectName(QStringLiteral("scroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    // A click on a control that takes no focus leaves the focus where it was.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    scroller->setWidget(content);

    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(scroller, 1);
    if (below)
        layout->addWidget(below, 0);
    return {scroller, body};
}

} // namespace vb
