#pragma once
// Forms with the life cycle the program's windows were written for: a form has a name in the
// Forms collection, is loaded (Form_Load) before it is shown and may stay loaded unseen, shows
// modeless or modal, and may refuse to unload (Form_QueryUnload, Form_Unload). Each form class
// has a default instance, created on first use and released when it unloads.
//
// Ownership: a default instance is deleted (deleteLater) when it unloads; a form shown as a
// child of the main window belongs to its sub-window and is deleted with it when it unloads,
// so such forms must live on the heap. Other forms belong to whoever made them.
//
// Whoever opens a form and must know when it is gone (the main window gives back the command
// that opened it) connects to its formUnloaded signal; forms never call their opener.
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <typeindex>
#include <typeinfo>
#include <vector>

class QCloseEvent;
class QScrollArea;
class QVBoxLayout;
class QMdiArea;
class QMdiSubWindow;

namespace vb {

enum FormShowConstants { vbModeless = 0, vbModal = 1 };

// Why a form is being unloaded, as Form_QueryUnload is told.
enum QueryUnloadConstants {
    vbFormControlMenu = 0, // the user closed the window
    vbFormCode = 1,        // Unload from code
    vbAppWindows = 2,
    vbAppTaskManager = 3,
    vbFormMDIForm = 4, // a child closing because the main window closes
};

class MDIForm;

// What every form has, whatever widget it is built on.
class FormBase {
public:
    FormBase(const FormBase&) = delete;
    FormBase& operator=(const FormBase&) = delete;
    virtual ~FormBase();

    QString Name() const;
    QString Caption() const;
    void setCaption(const QString& caption);

    bool Loaded() const { return loaded_; }
    // Loads the form once: it joins the Forms collection, then Form_Load runs. Nothing is shown.
    void Load();
    // Loads if needed, then shows: modeless returns at once; modal returns when the form is
    // hidden or unloaded (through the installed modal runner, which tests replace).
    void Show(int modal = vbModeless);
    void Hide();
    // Form_QueryUnload, then Form_Unload; either may cancel, and then the form stays loaded and
    // false is returned. An unloaded form leaves the Forms collection and its window closes.
    bool Unload(int unloadMode = vbFormCode);
    bool Visible() const;

    // The form's own widget, and the window that frames it on screen: its sub-window when it
    // is shown inside the main window, otherwise the form itself.
    virtual QWidget* widget() = 0;
    virtual const QWidget* widget() const = 0;
    QWidget* Window();
    // The main window whose client area holds this form, or none.
    MDIForm* MdiParent() const;

    bool IsDefaultInstance() const { return defaultType_ != nullptr; }

protected:
    FormBase() = default;

    // The events, dispatched to the VB-named handlers by Form and MDIForm.
    virtual void loadEvent() = 0;
    virtual void activateEvent() = 0;
    virtual void resizeHandler() = 0;
    virtual void queryUnloadEvent(int& cancel, int unloadMode) = 0;
    virtual void unloadEvent(int& cancel) = 0;

    // Called from the widget's event overrides.
    void handleActivate();
    void handleResize();
    void handleClose(QCloseEvent* event);

    // Between the form's own QueryUnload and Unload; the main window closes its children here.
    virtual bool unloadChildren() { return true; }
    // Emits formUnloaded once the form has left the collection and its window is closing.
    virtual void notifyUnloaded() = 0;
    virtual void showWindow() = 0;
    virtual void releaseWindow(bool deleteForm) = 0;

    QPointer<QMdiSubWindow> subWindow_;
    bool closingFromEvent_ = false;

private:
    friend class FormsCollection;
    friend class MDIForm;
    friend FormBase* findDefaultInstance(const std::type_info& type);
    friend void registerDefaultInstance(const std::type_info& type, FormBase* form);
    friend void DestroyAllForms();

    // Leaves the collection and closes the window, once the unload events have agreed.
    void finishUnload();

    bool loaded_ = false;
    bool unloading_ = false;
    const std::type_info* defaultType_ = nullptr;
};

// A form built on a plain widget: a top-level window, a dialog, or a child in the main window's
// client area when it is marked as an MDI child and a main window is loaded.
class Form : public QWidget, public FormBase {
    Q_OBJECT
public:
    explicit Form(const QString& name, QWidget* parent = nullptr);
    ~Form() override;

    QWidget* widget() override { return this; }
    const QWidget* widget() const override { return this; }

    // Whether Show puts the form into the main window's client area (when one is loaded).
    bool MDIChild() const { return mdiChild_; }
    void setMDIChild(bool child) { mdiChild_ = child; }

signals:
    // The form has unloaded (Form_Unload agreed); not raised by DestroyAllForms.
    void formUnloaded(const QString& name);

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode);
    virtual void Form_Unload(int& cancel);

    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void loadEvent() override { Form_Load(); }
    void activateEvent() override { Form_Activate(); }
    void resizeHandler() override { Form_Resize(); }
    void queryUnloadEvent(int& cancel, int unloadMode) override { Form_QueryUnload(cancel, unloadMode); }
    void unloadEvent(int& cancel) override { Form_Unload(cancel); }
    void notifyUnloaded() override { emit formUnloaded(Name()); }
    void showWindow() override;
    void releaseWindow(bool deleteForm) override;

    bool mdiChild_ = false;
};

// The main window: a QMainWindow around a QMdiArea that holds the MDI child forms. Closing it
// asks and closes its children first (each may refuse, which keeps everything open).
class MDIForm : public QMainWindow, public FormBase {
    Q_OBJECT
public:
    explicit MDIForm(const QString& name, QWidget* parent = nullptr);
    ~MDIForm() override;

    QWidget* widget() override { return this; }
    const QWidget* widget() const override { return this; }
    QMdiArea* MdiArea() const { return mdiArea_; }
    // The form in the active sub-window, or none.
    FormBase* ActiveForm() const;

    // The loaded main window that MDI child forms go into, or none.
    static MDIForm* Current();

signals:
    // The main window has unloaded; not raised by DestroyAllForms.
    void formUnloaded(const QString& name);

protected:
    virtual void MDIForm_Load() {}
    virtual void MDIForm_Activate() {}
    virtual void MDIForm_Resize() {}
    virtual void MDIForm_QueryUnload(int& cancel, int unloadMode);
    virtual void MDIForm_Unload(int& cancel);

    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void loadEvent() override { MDIForm_Load(); }
    void activateEvent() override { MDIForm_Activate(); }
    void resizeHandler() override { MDIForm_Resize(); }
    void queryUnloadEvent(int& cancel, int unloadMode) override { MDIForm_QueryUnload(cancel, unloadMode); }
    void unloadEvent(int& cancel) override { MDIForm_Unload(cancel); }
    void notifyUnloaded() override { emit formUnloaded(Name()); }
    bool unloadChildren() override;
    void showWindow() override;
    void releaseWindow(bool deleteForm) override;

    QMdiArea* mdiArea_;
};

// A form's controls in a body that scrolls, filling the form above what goes below it (a status
// bar, or nothing): below the room its controls need, the form scrolls rather than pressing them
// together. The body's layout takes the controls.
struct ScrollingBody {
    QScrollArea* scroller;
    QVBoxLayout* layout;
};
ScrollingBody makeScrollingBody(QWidget* form, QWidget* below = nullptr);

// The loaded forms in load order. Iterate over Snapshot(): unloading inside the loop changes the
// collection, not the copy (the forms themselves are deleted only later, from the event loop).
class FormsCollection {
public:
    int Count() const { return static_cast<int>(forms_.size()); }
    FormBase* Item(int index) const;
    // The first loaded form with that name, or none.
    FormBase* Find(const QString& name) const;
    template <class T>
    T* Find(const QString& name) const
    {
        return dynamic_cast<T*>(Find(name));
    }
    std::vector<FormBase*> Snapshot() const { return forms_; }

private:
    friend class FormBase;
    friend void DestroyAllForms();
    std::vector<FormBase*> forms_;
};

FormsCollection& Forms();

FormBase* findDefaultInstance(const std::type_info& type);
void registerDefaultInstance(const std::type_info& type, FormBase* form);
// Remembers how to make the default instance of the form class whose default instance bears
// this name (done by defaultInstance on first use).
void registerDefaultFactory(const QString& name, FormBase* (*factory)());

// The default instance of the form class whose default instance was made under this name
// earlier in this process (made again, not loaded, when it was released); none when no such
// instance was ever made. Code that closed a form can so reopen it without knowing its class.
FormBase* DefaultInstanceByName(const QString& name);

// The default instance of a form class, created (not loaded) on first use and again after it
// was unloaded.
template <class T>
T& defaultInstance()
{
    static_assert(std::is_base_of_v<FormBase, T>, "default instances are forms");
    if (FormBase* existing = findDefaultInstance(typeid(T)))
        return dynamic_cast<T&>(*existing);
    // Deleted when it unloads (or with its sub-window), or by DestroyAllForms.
    auto* form = new T();
    registerDefaultInstance(typeid(T), form);
    registerDefaultFactory(form->Name(), [] { return static_cast<FormBase*>(&defaultInstance<T>()); });
    return *form;
}

// What the controls of every form do that Qt's widgets do not do by themselves, installed once
// on the application by the program's start (and by the tests' main):
// - a label shows its text as typed, never read as markup, unless it was set to show rich text;
// - Enter (either key) on a focused command button clicks it, as Space does. Buttons that click
//   themselves on Enter (a dialog's, or a default button) are left to do so.
void InstallFormBehaviour();

// Ends every form at once without their unload events, as the program's end does, and releases
// the default instances. Their widgets are deleted from the event loop (deleteLater).
void DestroyAllForms();

} // namespace vb
