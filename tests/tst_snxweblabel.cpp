// Mouse events travel through the window, which hands them to the widget under the pointer, as for a user.
#define QTEST_QPA_MOUSE_HANDLING

#include "SnxWebLabel.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <memory>

// Stands in for the desktop's browser: records each address it is asked to open.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

// Counts the presses that reach the window beneath the link.
class PressCounter : public QObject
{
public:
    int presses = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            ++presses;
        return false;
    }
};

class TestSnxWebLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void looksLikeALink();
    void leftClickOpensTheCaptionOverHttp_data();
    void leftClickOpensTheCaptionOverHttp();
    void pressesStayWithTheLink();

private:
    UrlRecorder m_browser;
    std::unique_ptr<QWidget> m_host;
    TSnxWebLabel *m_label = nullptr;
};

void TestSnxWebLabel::init()
{
    m_browser.opened.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_browser, "open");
    m_host = std::make_unique<QWidget>();
    m_host->resize(200, 60);
    m_label = new TSnxWebLabel(m_host.get());
    m_label->setGeometry(20, 20, 120, 16);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
}

void TestSnxWebLabel::cleanup()
{
    m_host.reset();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

void TestSnxWebLabel::looksLikeALink()
{
    m_label->setText(QStringLiteral("tintora.example"));
    // The window's font reaches the link and keeps it underlined.
    QFont windowFont(QStringLiteral("Liberation Sans"));
    windowFont.setPixelSize(11);
    m_host->setFont(windowFont);

    QCOMPARE(m_label->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(m_label->font().pixelSize(), 11);
    QVERIFY(m_label->font().underline());
    QCOMPARE(m_label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(m_label->focusPolicy(), Qt::NoFocus);
    const QImage image = m_label->grab().toImage();
    bool blue = false;
    for (int y = 0; y < image.height() && !blue; ++y)
        for (int x = 0; x < image.width() && !blue; ++x)
            blue = image.pixelColor(x, y) == QColor(Qt::blue);
    QVERIFY(blue);
}

void TestSnxWebLabel::leftClickOpensTheCaptionOverHttp_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QList<QUrl>>("opened");

    QTest::newRow("host name") << QStringLiteral("tintora.example") << Qt::LeftButton << QPoint(5, 5)
                               << QList<QUrl>{QUrl(QStringLiteral("http://tintora.example"))};
    QTest::newRow("host and path") << QStringLiteral("www.tintora.example/farben") << Qt::LeftButton << QPoint(5, 5)
                                   << QList<QUrl>{QUrl(QStringLiteral("http://www.tintora.example/farben"))};
    QTest::newRow("right button") << QStringLiteral("tintora.example") << Qt::RightButton << QPoint(5, 5)
                                  << QList<QUrl>{};
    QTest::newRow("released outside") << QStringLiteral("tintora.example") << Qt::LeftButton << QPoint(5, 30)
                                      << QList<QUrl>{};
}

void TestSnxWebLabel::leftClickOpensTheCaptionOverHttp()
{
    QFETCH(QString, caption);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, release);
    QFETCH(QList<QUrl>, opened);

    m_label->setText(caption);
    QTest::mousePress(m_label, button, {}, QPoint(5, 5));
    QTest::mouseRelease(m_label, button, {}, release);

    QCOMPARE(m_browser.opened, opened);
}

void TestSnxWebLabel::pressesStayWithTheLink()
{
    PressCounter behind;
    m_host->installEventFilter(&behind);
    m_label->setText(QStringLiteral("tintora.example"));

    QTest::mouseClick(m_label, Qt::LeftButton, {}, QPoint(5, 5));

    QCOMPARE(m_browser.opened.size(), 1);
    QCOMPARE(behind.presses, 0);
}

QTEST_MAIN(TestSnxWebLabel)
#include "tst_snxweblabel.moc"
