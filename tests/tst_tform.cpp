#include "TForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

namespace {

// A form with one control on it, and a log of the form events in the order they came.
class LoggedForm : public TForm
{
public:
    explicit LoggedForm(const QString &name, QStringList *log) : label(new QLabel(QStringLiteral("Label"), this))
    {
        label->setGeometry(10, 10, 80, 20);
        resize(200, 100);
        const auto record = [this, name, log](const char *event) {
            return [name, log, event] { log->append(name + QLatin1Char('.') + QLatin1String(event)); };
        };
        connect(this, &TForm::OnActivate, this, record("activate"));
        connect(this, &TForm::OnDeactivate, this, record("deactivate"));
        connect(this, &TForm::OnShow, this, record("show"));
        connect(this, &TForm::OnClose, this, record("close"));
        connect(this, &TForm::OnDestroy, this, record("destroy"));
        connect(this, &TForm::OnMouseMove, this, record("move"));
        connect(this, &TForm::OnMouseDown, this, record("down"));
        connect(this, &TForm::OnMouseUp, this, record("up"));
    }

    QLabel *label;
};

void activate(QWidget *window)
{
    QApplication::setActiveWindow(window);
    QTRY_COMPARE(QApplication::activeWindow(), window);
}

} // namespace

class TestTForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paintRunsOnExposureNeverOnChildRepaints();
    void deactivationComesBeforeActivation();
    void otherWindowsDoNotDeactivate();
    void mouseEventsOverBareSurfaceOnly_data();
    void mouseEventsOverBareSurfaceOnly();
    void showAndCloseEvents();
    void beforeDestructionRaisesDestroy();
    void singleBorderFixesSizeAndDropsMaximise();
    void designedPositionIsTheFramePosition();
    void screenCenterCentresTheFrame();
};

void TestTForm::paintRunsOnExposureNeverOnChildRepaints()
{
    QStringList log;
    LoggedForm form(QStringLiteral("form"), &log);
    auto *edit = new QLineEdit(&form);
    QSignalSpy paints(&form, &TForm::OnPaint);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(paints.count() >= 1);
    const int afterShow = paints.count();

    connect(&form, &TForm::OnPaint, edit, [edit] { edit->setText(edit->text() + QLatin1Char('x')); });
    edit->setText(QStringLiteral("changed"));
    form.label->setText(QStringLiteral("other"));
    form.label->repaint();
    form.update();
    QTest::qWait(50);
    QCOMPARE(paints.count(), afterShow);

    form.showMinimized();
    form.showNormal();
    QTRY_VERIFY(paints.count() > afterShow);
}

void TestTForm::deactivationComesBeforeActivation()
{
    QStringList log;
    LoggedForm first(QStringLiteral("first"), &log);
    LoggedForm second(QStringLiteral("second"), &log);
    first.show();
    second.show();
    activate(&first);
    log.clear();

    activate(&second);
    activate(&first);

    QCOMPARE(log, QStringList({"first.deactivate", "second.activate", "second.deactivate", "first.activate"}));
}

void TestTForm::otherWindowsDoNotDeactivate()
{
    QStringList log;
    LoggedForm form(QStringLiteral("form"), &log);
    QWidget messageLikeWindow;
    form.show();
    messageLikeWindow.show();
    activate(&form);
    log.clear();

    activate(&messageLikeWindow);
    activate(&form);

    QCOMPARE(log, QStringList());
}

void TestTForm::mouseEventsOverBareSurfaceOnly_data()
{
    QTest::addColumn<bool>("overLabel");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("bare surface") << false << QStringList({"form.move", "form.down", "form.up"});
    QTest::newRow("over a label") << true << QStringList();
}

void TestTForm::mouseEventsOverBareSurfaceOnly()
{
    QFETCH(bool, overLabel);
    QFETCH(QStringList, events);

    QStringList log;
    LoggedForm form(QStringLiteral("form"), &log);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    log.clear();

    QWidget *target = overLabel ? static_cast<QWidget *>(form.label) : &form;
    const QPoint at = overLabel ? form.label->rect().center() : QPoint(150, 80);
    QTest::mouseMove(target, at);
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);

    QCOMPARE(log, events);
}

void TestTForm::showAndCloseEvents()
{
    QStringList log;
    LoggedForm form(QStringLiteral("form"), &log);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.close();

    QCOMPARE(log.filter(QRegularExpression(QStringLiteral("show|close"))), QStringList({"form.show", "form.close"}));
    QVERIFY(!form.isVisible());
}

void TestTForm::beforeDestructionRaisesDestroy()
{
    QStringList log;
    auto *form = new LoggedForm(QStringLiteral("form"), &log);
    QString labelTextSeen;
    connect(form, &TForm::OnDestroy, form, [&] { labelTextSeen = form->label->text(); });

    form->BeforeDestruction();
    delete form;

    QCOMPARE(log, QStringList({"form.destroy"}));
    QCOMPARE(labelTextSeen, QStringLiteral("Label"));
}

void TestTForm::singleBorderFixesSizeAndDropsMaximise()
{
    TForm form;
    form.resize(300, 200);
    form.SetBorderStyle(TForm::bsSingle);
    form.show();

    QCOMPARE(form.minimumSize(), QSize(300, 200));
    QCOMPARE(form.maximumSize(), QSize(300, 200));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

void TestTForm::designedPositionIsTheFramePosition()
{
    TForm form;
    form.resize(100, 100);
    form.SetFormStyle(TForm::fsStayOnTop);
    form.SetLeft(739);
    form.SetTop(182);
    form.show();

    QCOMPARE(form.frameGeometry().topLeft(), QPoint(739, 182));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestTForm::screenCenterCentresTheFrame()
{
    TForm form;
    form.resize(300, 200);
    form.SetPosition(TForm::poScreenCenter);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.frameGeometry().center(), form.screen()->geometry().center());
}

QTEST_MAIN(TestTForm)
#include "tst_tform.moc"
