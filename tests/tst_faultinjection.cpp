// Errors the platform raises inside the windows' handlers, injected where the platform would raise them, with
// the program's own application frame and message loop.

#include "FormsFixture.h"
#include "MessageBox.h"
#include "TApplication.h"

#include <QClipboard>
#include <QTimer>
#include <stdexcept>

namespace {

const QString kCopyText = QStringLiteral("Hexadizimalwert wurde in die\nZwischenablage kopiert.");
const QString kClipboardError = QStringLiteral("Die Zwischenablage ist nicht verfügbar.");

} // namespace

class TestFaultInjection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handlerErrorIsShownAndTheWindowsGoOn();
};

// The copy button's handler fails at its message box: the error is shown with the stop icon under the
// program's title, the rest of that handler is lost (Edit1 keeps what was typed), and the loop and the windows
// go on: the next slider click and the next copy work as ever.
void TestFaultInjection::handlerErrorIsShownAndTheWindowsGoOn()
{
    FormsFixture forms;
    FormsFixture::showMain();
    bool failed = false;
    QStringList clipboardWhileOpen;
    MessageBoxRecorder boxes([&] {
        clipboardWhileOpen.append(QApplication::clipboard()->text());
        if (!failed) {
            failed = true;
            throw std::runtime_error(kClipboardError.toStdString());
        }
    });
    QWindow *window = Form1->windowHandle();
    const QPoint copyButton = Form1->HemisphereButton1->geometry().center();
    // The right arrow button of the green slider steps it by one.
    const QPoint greenRightArrow = Form1->ScrollBar2->mapTo(Form1, QPoint(Form1->ScrollBar2->width() - 3, 8));
    QString fieldAfterFailure;

    QTimer::singleShot(0, Form1, [&] {
        Form1->Edit1->setFocus();
        Form1->Edit1->selectAll();
        QTest::keyClicks(Form1->Edit1, QStringLiteral("Farbe"));
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, copyButton);
        fieldAfterFailure = Form1->Edit1->text();
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, greenRightArrow);
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, copyButton);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QCoreApplication::exec();

    QCOMPARE(boxes.calls().size(), 3);
    QCOMPARE(boxes.calls().at(0).text, kCopyText);
    QCOMPARE(boxes.calls().at(1).text, kClipboardError);
    QCOMPARE(boxes.calls().at(1).caption, QStringLiteral("Tintora"));
    QCOMPARE(boxes.calls().at(1).flags, MB_ICONERROR);
    QCOMPARE(boxes.calls().at(2).text, kCopyText);
    QCOMPARE(clipboardWhileOpen.constFirst(), QStringLiteral("Farbe"));
    QCOMPARE(fieldAfterFailure, QStringLiteral("Farbe"));
    QCOMPARE(Form1->ScrollBar2->value(), 1);
    QCOMPARE(Form1->NumericEdit2->text(), QStringLiteral("1"));
    QCOMPARE(clipboardWhileOpen.constLast(), QStringLiteral("#000100"));
    QCOMPARE(Form1->Edit1->text(), QStringLiteral("#000100"));
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle(QStringLiteral("Tintora"));
    TestFaultInjection test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faultinjection.moc"
