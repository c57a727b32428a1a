// Preloaded into the real program (LD_PRELOAD): once the application object exists, a timer plays a short
// session on the program's own windows the way a user would, closes the copy button's real message box, and
// ends the program with "Beenden". The program itself is not changed; it finds nothing of this library.
// A step that finds the windows other than expected ends the program with an error.

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QWidget *window(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name))
            return widget;
    }
    qFatal("scripted session: no window %s", name);
}

template <class T = QWidget>
T *control(const char *name)
{
    T *found = window("TForm1")->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("scripted session: no control %s", name);
    return found;
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void press(const char *name, Qt::Key key, int times = 1)
{
    QWidget *target = control(name);
    target->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(target, key);
}

void expectCode(const char *code)
{
    const QString shown = control<QLineEdit>("Edit1")->text();
    if (shown != QLatin1String(code))
        qFatal("scripted session: the code field shows %s, not %s", qPrintable(shown), code);
}

// One step per timer tick, so that the program's own events run in between, as they would for a user.
class Session : public QObject
{
public:
    explicit Session(QObject *parent) : QObject(parent)
    {
        m_steps = {
            [] { return window("TForm1")->isVisible(); },
            [] {
                press("ScrollBar1", Qt::Key_End);
                press("ScrollBar2", Qt::Key_Right, 10);
                press("ScrollBar3", Qt::Key_PageDown);
                expectCode("#FF0A01");
                return true;
            },
            [] {
                click(control("EncartaButton2"));
                click(control("EncartaButton1"));
                return true;
            },
            [] {
                click(control("EncartaButton4"));
                return window("TForm2")->isVisible();
            },
            [] {
                press("ScrollBar1", Qt::Key_Left);
                click(control("EncartaButton5"));
                QWidget *result = window("TForm2");
                QTest::mouseClick(result, Qt::LeftButton, Qt::NoModifier, result->rect().center());
                result->close();
                return true;
            },
            [this] {
                click(control("EncartaButton3"));
                expectCode("#000000");
                QLineEdit *code = control<QLineEdit>("Edit1");
                code->setFocus();
                QTest::keyClicks(code, QStringLiteral("Farbe"));
                // The real message box opens inside the click, and the click returns once it is closed.
                m_boxCloser.start(50);
                click(control("HemisphereButton1"));
                return !m_boxCloser.isActive();
            },
            [] {
                expectCode("#000000");
                click(control("EncartaButton4"));
                return true;
            },
            [] {
                click(control("EncartaButton6"));
                std::fprintf(stderr, "scripted session: complete\n");
                return true;
            },
        };
        connect(&m_timer, &QTimer::timeout, this, &Session::next);
        connect(&m_boxCloser, &QTimer::timeout, this, &Session::closeMessageBox);
        m_timer.start(50);
    }

private:
    void next()
    {
        // A step that is not ready yet (a window not yet shown) is tried again at the next tick.
        if (m_step < m_steps.size() && m_steps[m_step]())
            ++m_step;
    }

    // A timer does not fire again while its own slot runs, so the box that opens inside a step's click is
    // closed by a timer of its own.
    void closeMessageBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (box->text() != QStringLiteral("Hexadizimalwert wurde in die\nZwischenablage kopiert."))
            qFatal("scripted session: message box \"%s\"", qPrintable(box->text()));
        m_boxCloser.stop();
        box->button(QMessageBox::Ok)->click();
    }

    std::vector<std::function<bool()>> m_steps;
    std::size_t m_step = 0;
    QTimer m_timer;
    QTimer m_boxCloser;
};

void startSession()
{
    new Session(QCoreApplication::instance());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startSession)
