#include "MessageBox.h"
#include "TApplication.h"

#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace {

class ThrowingObject : public QObject
{
public:
    int handled = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++handled;
        throw std::runtime_error("Zugriffsverletzung");
    }
};

class Form : public TForm
{
public:
    explicit Form(QStringList *log = nullptr)
    {
        if (log)
            connect(this, &TForm::OnDestroy, this, [this, log] { log->append(objectName()); });
    }
};

char programName[] = "tst_tapplication";
char *arguments[] = {programName, nullptr};

// Each test gets an application object of its own, as the program has exactly one.
struct Application
{
    int argc = 1;
    TApplication app{argc, arguments};
};

} // namespace

class TestTApplication : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titleIsTheApplicationName();
    void handlerExceptionIsShownAndTheLoopGoesOn();
    void startUpFailureIsShownOnceAndReportsFailure();
    void normalEndReportsSuccess();
    void closingTheMainFormEndsTheLoopWhateverElseIsOpen();
    void formsAreDestroyedInReverseOrder();
};

void TestTApplication::titleIsTheApplicationName()
{
    Application application;
    application.app.SetTitle(QStringLiteral("Tintora"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tintora"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Tintora"));
}

void TestTApplication::handlerExceptionIsShownAndTheLoopGoesOn()
{
    Application application;
    application.app.SetTitle(QStringLiteral("Tintora"));
    MessageBoxRecorder boxes;
    ThrowingObject object;

    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QTimer::singleShot(0, &application.app, &QCoreApplication::quit);
    QCoreApplication::exec();

    QCOMPARE(object.handled, 2);
    QCOMPARE(boxes.calls().size(), 2);
    QCOMPARE(boxes.calls().first().text, QStringLiteral("Zugriffsverletzung"));
    QCOMPARE(boxes.calls().first().caption, QStringLiteral("Tintora"));
    QCOMPARE(boxes.calls().first().flags, MB_ICONERROR);
}

void TestTApplication::startUpFailureIsShownOnceAndReportsFailure()
{
    Application application;
    MessageBoxRecorder boxes;

    const int status = application.app.Start([] { throw std::runtime_error("Fenster fehlt"); });

    QCOMPARE(status, 1);
    QCOMPARE(boxes.calls().size(), 1);
    QCOMPARE(boxes.calls().first().text, QStringLiteral("Fenster fehlt"));
}

void TestTApplication::normalEndReportsSuccess()
{
    Application application;
    bool ran = false;
    QCOMPARE(application.app.Start([&] { ran = true; }), 0);
    QVERIFY(ran);
}

void TestTApplication::closingTheMainFormEndsTheLoopWhateverElseIsOpen()
{
    Application application;
    Form *main = nullptr;
    Form *other = nullptr;
    application.app.CreateForm(main);
    application.app.CreateForm(other);
    QCOMPARE(application.app.MainForm(), main);
    other->show();

    bool otherStillVisible = false;
    QTimer::singleShot(0, main, [&] {
        main->close();
        otherStillVisible = other->isVisible();
    });
    // A watchdog: if closing the main form did not end the loop, this does, and the test fails below.
    bool watchdogFired = false;
    QTimer::singleShot(5000, &application.app, [&] {
        watchdogFired = true;
        QCoreApplication::quit();
    });
    application.app.Run();

    QVERIFY(!watchdogFired);
    QVERIFY(otherStillVisible);
}

void TestTApplication::formsAreDestroyedInReverseOrder()
{
    QStringList destroyed;
    Form *first = nullptr;
    Form *second = nullptr;
    {
        Application application;
        application.app.CreateForm(first);
        first->setObjectName(QStringLiteral("first"));
        application.app.CreateForm(second);
        second->setObjectName(QStringLiteral("second"));
        connect(first, &TForm::OnDestroy, first, [&] { destroyed.append(QStringLiteral("first")); });
        connect(second, &TForm::OnDestroy, second, [&] {
            destroyed.append(QStringLiteral("second"));
            // The first form still stands when the second one's destroy handler reaches into it.
            destroyed.append(first ? first->objectName() : QStringLiteral("gone"));
        });
    }
    QCOMPARE(destroyed, QStringList({"second", "first", "first"}));
    QVERIFY(!first);
    QVERIFY(!second);
}

QTEST_APPLESS_MAIN(TestTApplication)
#include "tst_tapplication.moc"
