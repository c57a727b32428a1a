#pragma once

#include "TForm.h"

#include <QApplication>
#include <QList>
#include <exception>
#include <functional>

// The application frame: creates the forms, runs the loop, shows what a handler throws and goes on.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);
    // Destroys the forms in the reverse order of their creation, raising each one's OnDestroy first.
    ~TApplication() override;

    // Settles what must be chosen before the application object exists (the window system).
    static void PrepareWindowSystem();

    void Initialize();
    // The name under which the desktop shows the running program (and the class of its windows).
    void SetTitle(const QString &title);

    // The first form created is the main form: closing it ends the loop, whatever else is open.
    template <class T>
    void CreateForm(T *&reference)
    {
        reference = new T;
        adoptForm(reference, [&reference] { reference = nullptr; });
    }
    TForm *MainForm() const { return m_forms.isEmpty() ? nullptr : m_forms.first().form; }

    // Shows the main form and runs the message loop until the main form is closed.
    void Run();

    // Runs the start-up and the loop. An error that escapes them is shown once, and the program, which never
    // ran as it should, reports failure (1) to whoever started it; otherwise 0.
    int Start(const std::function<void()> &startUpAndRun);

    // The standard error display: the error's text in a message box with the stop icon.
    void ShowException(const std::exception &error);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    struct OwnedForm
    {
        TForm *form;
        std::function<void()> forgetReference;
    };

    void adoptForm(TForm *form, std::function<void()> forgetReference);

    QList<OwnedForm> m_forms;
};
