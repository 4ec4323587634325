#pragma once

#include <QMdiArea>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace zibs {

// Base of the program's child windows. The form is the client area; it sits in a frame of the
// main window's workspace. Left, Top, Width and Height are the frame's, in twips, relative to the
// workspace, as the load handlers that place windows use them.
class ChildForm : public QWidget {
    Q_OBJECT
  public:
    // What closing the window does: a window that is destroyed is created afresh by the next
    // reference; a hidden one keeps what it holds and is shown again as it was.
    enum class OnClose { Destroy, Hide };
    ChildForm(const QString& caption, int clientWidthTwips, int clientHeightTwips,
              OnClose onClose = OnClose::Destroy);
    bool hiddenOnClose() const { return onClose_ == OnClose::Hide; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // Runs once, when the window has been created and framed, before it is shown.
    virtual void Form_Load() {}

  signals:
    // The user closed a window that is destroyed on close: it is gone from now on, whenever Qt
    // deletes it.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* frame() const;
    OnClose onClose_;
};

// One child window, created on first reference: the factory builds the form, which is framed in
// the workspace, loaded and shown at once. Later references return the same form until the user
// closes a form that is destroyed on close; the next reference then creates it afresh.
template <class Form>
class ChildWindow {
  public:
    using Factory = std::function<Form*()>;
    ChildWindow(QMdiArea* area, Factory factory) : area_(area), factory_(std::move(factory)) {}

    Form& get() {
        if (!form_) create();
        return *form_;
    }
    // The open form, or nullptr when it does not exist (never created, or closed).
    Form* existing() const { return form_; }

  private:
    void create() {
        Form* form = factory_();
        form_ = form;
        QObject::connect(form, &ChildForm::closed, form, [this, form] {
            if (form_ == form) form_ = nullptr;
        });
        frameChildForm(area_, form);
        form->Form_Load();
        showChildForm(form);
    }

    QMdiArea* area_;
    Factory factory_;
    QPointer<Form> form_;
};

// Wraps a new form in a workspace frame sized to its client area (deleted when closed, unless
// the form is only hidden on close).
void frameChildForm(QMdiArea* area, ChildForm* form);
void showChildForm(ChildForm* form);

}  // namespace zibs
