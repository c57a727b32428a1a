// Both windows as the program shows them, driven by a seeded random stream of user events: clicks anywhere,
// drags on the sliders, keys into every focusable control, the mode, reset, detach, refresh and copy buttons,
// the result window closed and shown again, the main window uncovered, "Beenden" and a new start. After
// every event the colours, texts and lamps must agree with the three sliders, and the refresh button must
// stand where the protocol of the two windows puts it.
//
// TINTORA_MONKEY_SEEDS (comma-separated) and TINTORA_MONKEY_EVENTS (per seed) choose the stream; a failure
// prints the line that replays it.

#include "Controls.h"
#include "FormsFixture.h"
#include "MessageBox.h"
#include "TApplication.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QMap>
#include <QRandomGenerator>
#include <QUrl>
#include <memory>

using mixer::Channel;

namespace {

const QString kCopyText = QStringLiteral("Hexadizimalwert wurde in die\nZwischenablage kopiert.");
const QString kCopyCaption = QStringLiteral("Mitteilung ...");
constexpr std::array<Channel, 3> kChannels = {Channel::Red, Channel::Green, Channel::Blue};

QList<quint32> seedsToRun()
{
    const QString listed = qEnvironmentVariable("TINTORA_MONKEY_SEEDS", QStringLiteral("1,2,3"));
    QList<quint32> seeds;
    for (const QString &seed : listed.split(QLatin1Char(','), Qt::SkipEmptyParts))
        seeds.append(seed.trimmed().toUInt());
    return seeds;
}

int eventsPerSeed()
{
    return qEnvironmentVariableIntValue("TINTORA_MONKEY_EVENTS") > 0
               ? qEnvironmentVariableIntValue("TINTORA_MONKEY_EVENTS")
               : 3000;
}

TScrollBar *slider(Channel channel)
{
    return std::array{Form1->ScrollBar1, Form1->ScrollBar2, Form1->ScrollBar3}[int(channel)];
}

TNumericEdit *display(Channel channel)
{
    return std::array{Form1->NumericEdit1, Form1->NumericEdit2, Form1->NumericEdit3}[int(channel)];
}

QtMessageHandler previousHandler = nullptr;

QString hex(TColor color)
{
    return QStringLiteral("0x%1").arg(color, 6, 16, QLatin1Char('0'));
}

void settle()
{
    for (int pass = 0; pass < 2; ++pass) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// A click into a window that is not active activates it first, as on a desktop.
bool activate(QWidget *window)
{
    if (QApplication::activeWindow() == window)
        return true;
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 1000);
}

QPoint randomPointIn(QRandomGenerator &random, const QWidget *control)
{
    return QPoint(random.bounded(qMax(1, control->width())), random.bounded(qMax(1, control->height())));
}

// What the main window shows must follow from the three sliders and the mode; empty when it does.
QString colourStateProblem()
{
    const int red = Form1->ScrollBar1->value();
    const int green = Form1->ScrollBar2->value();
    const int blue = Form1->ScrollBar3->value();
    const mixer::Color mixed = mixer::MixedColor(red, green, blue);
    const QString code = QString::fromStdString(mixer::ColorCode(red, green, blue));

    if (Color(Form1->Panel1) != mixed)
        return QStringLiteral("Panel1 shows %1, the sliders mix %2").arg(hex(Color(Form1->Panel1)), hex(mixed));
    for (const Channel channel : kChannels) {
        const int value = slider(channel)->value();
        TNumericEdit *edit = display(channel);
        if (value < 0 || value > 255)
            return QStringLiteral("%1 stands at %2").arg(slider(channel)->objectName()).arg(value);
        if (Color(edit) != mixer::ChannelColor(channel, value))
            return QStringLiteral("%1 has the background %2 at %3")
                .arg(edit->objectName(), hex(Color(edit)))
                .arg(value);
        const TColor textColor = FontColor(edit);
        if (textColor != mixer::White && textColor != mixer::ChannelTextColor(channel, value))
            return QStringLiteral("%1 writes in %2 at %3").arg(edit->objectName(), hex(textColor)).arg(value);
        // A focused display takes the sign keys; the next write replaces the signed text.
        QString text = edit->text();
        if (text.startsWith(u'+') || text.startsWith(u'-'))
            text.remove(0, 1);
        if (text != QString::fromStdString(mixer::ValueText(value, HexMode)))
            return QStringLiteral("%1 shows '%2' at %3").arg(edit->objectName(), edit->text()).arg(value);
    }
    if (Form1->ZorbLed1->isOn() == HexMode || Form1->ZorbLed2->isOn() != HexMode)
        return QStringLiteral("the lamps disagree with the mode");

    if (!Form1->Edit1->isModified() && Form1->Edit1->text() != code)
        return QStringLiteral("Edit1 shows '%1', the code is %2").arg(Form1->Edit1->text(), code);
    const TColor face = Form1->EncartaButton4->Color();
    const TColor caption = FontColor(Form1->EncartaButton4);
    if ((face != clBtnFace && face != mixed) || (caption != clWhite && caption != clBlack) ||
        (face == clBtnFace && caption != clBlack))
        return QStringLiteral("the detach button shows %1 on %2").arg(hex(caption), hex(face));
    return {};
}

} // namespace

// The link label opens its address through the desktop; here it is only noted.
class LinkCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class Monkey
{
public:
    explicit Monkey(quint32 seed) : m_seed(seed), m_random(seed) {}

    // Runs the stream; an empty text when every event kept the invariants, else what broke and how to replay it.
    QString run(int events)
    {
        start();
        if (const QString problem = check(); !problem.isEmpty())
            return report(problem);
        for (m_event = 0; m_event < events; ++m_event) {
            const QString event = step();
            ++m_tally[event.section(QLatin1Char(' '), 0, 0)];
            remember(event);
            settle();
            QString problem = check();
            if (problem.isEmpty() && !Form1->isVisible() && !Form1->isMinimized())
                problem = restartAfterBeenden();
            if (!problem.isEmpty())
                return report(problem);
        }
        m_forms.reset();
        return {};
    }

    // How often each kind of event ran and what came of them.
    QString tally() const
    {
        QStringList parts;
        for (auto it = m_tally.cbegin(); it != m_tally.cend(); ++it)
            parts.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value()));
        return parts.join(QStringLiteral(", "));
    }

private:
    void start()
    {
        m_forms = std::make_unique<FormsFixture>();
        m_refreshVisible = true;
        m_resultColor = Color(Form2);
        m_quitRequested = false;
        m_boxesSeen = m_boxes.calls().size();
        watch();
        FormsFixture::showMain();
        settle();
    }

    QString restartAfterBeenden()
    {
        if (!m_quitRequested)
            return QStringLiteral("the main window closed without \"Beenden\"");
        m_forms.reset();
        if (m_boxes.calls().size() != m_boxesSeen)
            return QStringLiteral("ending the program showed \"%1\"").arg(m_boxes.calls().constLast().text);
        remember(QStringLiteral("-- program ended and started again --"));
        ++m_tally[QStringLiteral("=restarts")];
        start();
        return check();
    }

    // The protocol of the refresh button, event by event, as the two windows raise their events. Connected
    // after the layouts' own bindings, so each runs right after the handler it follows.
    void watch()
    {
        const auto showIfResultVisible = [this] {
            if (Form2->isVisible())
                m_refreshVisible = true;
        };
        const auto show = [this] { m_refreshVisible = true; };
        const auto hide = [this] { m_refreshVisible = false; };
        QObject::connect(Form1, &TForm::OnPaint, Form1, hide);
        QObject::connect(Form1, &TForm::OnPaint, Form1, [this] { ++m_tally[QStringLiteral("=paints")]; });
        QObject::connect(Form1, &TForm::OnActivate, Form1, showIfResultVisible);
        QObject::connect(Form1, &TForm::OnMouseMove, Form1, showIfResultVisible);
        for (const Channel channel : kChannels) {
            QObject::connect(slider(channel), &QScrollBar::valueChanged, Form1, showIfResultVisible);
            QObject::connect(slider(channel), &QScrollBar::valueChanged, Form1,
                             [this] { ++m_tally[QStringLiteral("=slider-changes")]; });
        }
        QObject::connect(Form1->EncartaButton1, &TEncartaButton::clicked, Form1, showIfResultVisible);
        QObject::connect(Form1->EncartaButton2, &TEncartaButton::clicked, Form1, showIfResultVisible);
        QObject::connect(Form1->EncartaButton4, &TEncartaButton::clicked, Form1, [this] {
            ++m_tally[QStringLiteral("=detaches")];
            m_refreshVisible = true;
            m_resultColor = Color(Form1->Panel1);
        });
        QObject::connect(Form1->EncartaButton5, &TEncartaButton::clicked, Form1,
                         [this] { m_resultColor = Color(Form1->Panel1); });
        QObject::connect(Form1->EncartaButton6, &TEncartaButton::clicked, Form1, [this] { m_quitRequested = true; });
        for (const auto signal : {&TForm::OnShow, &TForm::OnActivate, &TForm::OnMouseDown, &TForm::OnMouseUp})
            QObject::connect(Form2, signal, Form2, show);
        for (const auto signal : {&TForm::OnDeactivate, &TForm::OnClose})
            QObject::connect(Form2, signal, Form2, hide);
    }

    QString step()
    {
        const int kind = m_random.bounded(100);
        if (kind < 25)
            return clickControl();
        if (kind < 40)
            return clickAnywhere();
        if (kind < 52)
            return dragSlider();
        if (kind < 77)
            return typeKey();
        if (kind < 85)
            return moveMouse();
        if (kind < 89)
            return uncoverMain();
        if (kind < 95)
            return switchWindow();
        if (kind < 98)
            return closeResult();
        return moveResult();
    }

    QString clickControl()
    {
        const QList<QWidget *> controls = {
            Form1->EncartaButton1, Form1->EncartaButton2, Form1->EncartaButton3,    Form1->EncartaButton4,
            Form1->EncartaButton5, Form1->EncartaButton6, Form1->HemisphereButton1, Form1->ScrollBar1,
            Form1->ScrollBar2,     Form1->ScrollBar3,     Form1->NumericEdit1,      Form1->NumericEdit2,
            Form1->NumericEdit3,   Form1->Edit1,          Form1->SnxWebLabel1,      Form1->Panel1,
        };
        QWidget *control = controls.at(m_random.bounded(int(controls.size())));
        // "Beenden" ends the program; most of the time the user means another button.
        if (control == Form1->EncartaButton6 && m_random.bounded(4) != 0)
            control = Form1->EncartaButton3;
        if (!control->isVisible())
            return QStringLiteral("no click: %1 is hidden").arg(control->objectName());
        const QPoint at = control->mapTo(Form1, randomPointIn(m_random, control));
        click(Form1, at);
        return QStringLiteral("click %1 at %2,%3").arg(control->objectName()).arg(at.x()).arg(at.y());
    }

    QString clickAnywhere()
    {
        TForm *window = Form2->isVisible() && m_random.bounded(4) == 0 ? static_cast<TForm *>(Form2) : Form1;
        const QPoint at = randomPointIn(m_random, window);
        const QWidget *target = window->childAt(at);
        click(window, at);
        return QStringLiteral("click %1 at %2,%3 (%4)")
            .arg(window->objectName())
            .arg(at.x())
            .arg(at.y())
            .arg(target ? target->objectName() : QStringLiteral("bare surface"));
    }

    void click(TForm *window, QPoint at)
    {
        activate(window);
        m_fieldBeforeClick = Form1->Edit1->text();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }

    QString dragSlider()
    {
        TScrollBar *bar = slider(kChannels.at(m_random.bounded(3)));
        activate(Form1);
        QWindow *window = Form1->windowHandle();
        QPoint at = bar->mapTo(Form1, randomPointIn(m_random, bar));
        QString path = QStringLiteral("drag %1 from %2").arg(bar->objectName()).arg(at.x());
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, at);
        const int moves = 1 + m_random.bounded(8);
        for (int i = 0; i < moves; ++i) {
            // Drags may leave the slider on either side.
            at.setX(bar->mapTo(Form1, QPoint(0, 0)).x() - 20 + m_random.bounded(bar->width() + 40));
            QTest::mouseMove(window, at);
            path += QStringLiteral(" %1").arg(at.x());
        }
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, at);
        return path;
    }

    QString typeKey()
    {
        struct Key
        {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            QString text;
        };
        static const QList<Key> keys = {
            {Qt::Key_Left, Qt::NoModifier, {}},        {Qt::Key_Right, Qt::NoModifier, {}},
            {Qt::Key_Up, Qt::NoModifier, {}},          {Qt::Key_Down, Qt::NoModifier, {}},
            {Qt::Key_Home, Qt::NoModifier, {}},        {Qt::Key_End, Qt::NoModifier, {}},
            {Qt::Key_PageUp, Qt::NoModifier, {}},      {Qt::Key_PageDown, Qt::NoModifier, {}},
            {Qt::Key_Tab, Qt::NoModifier, {}},         {Qt::Key_Backtab, Qt::ShiftModifier, {}},
            {Qt::Key_Backspace, Qt::NoModifier, {}},   {Qt::Key_Delete, Qt::NoModifier, {}},
            {Qt::Key_Return, Qt::NoModifier, {}},      {Qt::Key_Escape, Qt::NoModifier, {}},
            {Qt::Key_Space, Qt::NoModifier, " "},      {Qt::Key_Plus, Qt::NoModifier, "+"},
            {Qt::Key_Minus, Qt::NoModifier, "-"},      {Qt::Key_Comma, Qt::NoModifier, ","},
            {Qt::Key_Period, Qt::NoModifier, "."},     {Qt::Key_NumberSign, Qt::NoModifier, "#"},
            {Qt::Key_A, Qt::NoModifier, "a"},          {Qt::Key_F, Qt::ShiftModifier, "F"},
            {Qt::Key_H, Qt::NoModifier, "h"},          {Qt::Key_Adiaeresis, Qt::NoModifier, "ä"},
            {Qt::Key_A, Qt::ControlModifier, {}},      {Qt::Key_C, Qt::ControlModifier, {}},
            {Qt::Key_V, Qt::ControlModifier, {}},      {Qt::Key_X, Qt::ControlModifier, {}},
            {Qt::Key_Z, Qt::ControlModifier, {}},      {Qt::Key_Insert, Qt::ShiftModifier, {}},
            {Qt::Key_Insert, Qt::ControlModifier, {}},
        };
        activate(Form1);
        const int digit = m_random.bounded(keys.size() + 10);
        const Key key = digit < keys.size() ? keys.at(digit)
                                            : Key{Qt::Key(Qt::Key_0 + digit - keys.size()), Qt::NoModifier,
                                                  QString::number(digit - keys.size())};
        const QWidget *focus = QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::Click, Form1->windowHandle(), key.key, key.text, key.modifiers);
        return QStringLiteral("key 0x%1 modifiers 0x%2 into %3")
            .arg(key.key, 0, 16)
            .arg(int(key.modifiers), 0, 16)
            .arg(focus ? focus->objectName() : QStringLiteral("nothing"));
    }

    QString moveMouse()
    {
        TForm *window = Form2->isVisible() && m_random.bounded(4) == 0 ? static_cast<TForm *>(Form2) : Form1;
        const QPoint at = randomPointIn(m_random, window);
        QTest::mouseMove(window->windowHandle(), at);
        return QStringLiteral("move over %1 at %2,%3").arg(window->objectName()).arg(at.x()).arg(at.y());
    }

    // A restore from the task bar uncovers the whole window, which paints it.
    QString uncoverMain()
    {
        int paints = 0;
        const QMetaObject::Connection counting =
            QObject::connect(Form1, &TForm::OnPaint, Form1, [&paints] { ++paints; });
        Form1->showMinimized();
        Form1->showNormal();
        const bool painted = QTest::qWaitFor([&paints] { return paints > 0; }, 2000);
        QObject::disconnect(counting);
        return painted ? QStringLiteral("uncover the main window")
                       : QStringLiteral("uncover the main window: no paint");
    }

    QString switchWindow()
    {
        TForm *window = Form2->isVisible() && m_random.bounded(2) == 0 ? static_cast<TForm *>(Form2) : Form1;
        activate(window);
        return QStringLiteral("activate %1").arg(window->objectName());
    }

    QString closeResult()
    {
        if (!Form2->isVisible())
            return QStringLiteral("no close: the result window is hidden");
        Form2->close();
        return QStringLiteral("close the result window");
    }

    QString moveResult()
    {
        if (!Form2->isVisible())
            return QStringLiteral("no move: the result window is hidden");
        const QPoint to(m_random.bounded(800), m_random.bounded(600));
        const QSize size(50 + m_random.bounded(400), 50 + m_random.bounded(400));
        Form2->move(to);
        Form2->resize(size);
        return QStringLiteral("move the result window to %1,%2, size %3x%4")
            .arg(to.x())
            .arg(to.y())
            .arg(size.width())
            .arg(size.height());
    }

    // Behind the copy button's message box the main window may be uncovered and painted.
    void whileBoxOpen()
    {
        if (m_forms && m_random.bounded(3) == 0)
            remember(uncoverMain() + QStringLiteral(" behind the message box"));
    }

    QString check()
    {
        if (const QString problem = colourStateProblem(); !problem.isEmpty())
            return problem;
        const bool refreshShown = !Form1->EncartaButton5->isHidden();
        if (refreshShown != m_refreshVisible)
            return QStringLiteral("the refresh button is %1, the protocol says %2")
                .arg(refreshShown ? "shown" : "hidden", m_refreshVisible ? "shown" : "hidden");
        if (refreshShown && !Form2->isVisible())
            return QStringLiteral("the refresh button is shown while the result window is hidden");
        if (Color(Form2) != m_resultColor)
            return QStringLiteral("the result window shows %1, it was given %2")
                .arg(hex(Color(Form2)), hex(m_resultColor));
        return checkNewBoxes(QString::fromStdString(
            mixer::ColorCode(Form1->ScrollBar1->value(), Form1->ScrollBar2->value(), Form1->ScrollBar3->value())));
    }

    // The only message box of the windows is the copy confirmation; what the user saw in Edit1 when clicking
    // is on the clipboard, and Edit1 shows the code again.
    QString checkNewBoxes(const QString &code)
    {
        const QList<MessageBoxCall> &calls = m_boxes.calls();
        if (calls.size() == m_boxesSeen)
            return {};
        ++m_tally[QStringLiteral("=copies")];
        const MessageBoxCall box = calls.at(m_boxesSeen);
        const qsizetype added = calls.size() - m_boxesSeen;
        m_boxesSeen = calls.size();
        if (added > 1 || box.text != kCopyText || box.caption != kCopyCaption || box.flags != MB_OK)
            return QStringLiteral("message box \"%1\" / \"%2\" / %3").arg(box.text, box.caption).arg(box.flags);
        if (QApplication::clipboard()->text() != m_fieldBeforeClick)
            return QStringLiteral("the clipboard holds '%1', Edit1 held '%2'")
                .arg(QApplication::clipboard()->text(), m_fieldBeforeClick);
        if (Form1->Edit1->text() != code || Form1->Edit1->isModified())
            return QStringLiteral("after the copy Edit1 shows '%1', not %2").arg(Form1->Edit1->text(), code);
        return {};
    }

    void remember(const QString &event)
    {
        if (m_recent.size() == 15)
            m_recent.removeFirst();
        m_recent.append(QStringLiteral("#%1 %2").arg(m_event).arg(event));
    }

    QString report(const QString &problem) const
    {
        return QStringLiteral("seed %1, event #%2: %3\nLast events:\n  %4\nReplay: TINTORA_MONKEY_SEEDS=%1 "
                              "TINTORA_MONKEY_EVENTS=%5 %6 survivesRandomEvents")
            .arg(m_seed)
            .arg(m_event)
            .arg(problem, m_recent.join(QStringLiteral("\n  ")))
            .arg(m_event + 1)
            .arg(QCoreApplication::applicationFilePath());
    }

    const quint32 m_seed;
    QRandomGenerator m_random;
    MessageBoxRecorder m_boxes{[this] { whileBoxOpen(); }};
    std::unique_ptr<FormsFixture> m_forms;
    int m_event = 0;
    QStringList m_recent;
    qsizetype m_boxesSeen = 0;
    QString m_fieldBeforeClick;
    bool m_refreshVisible = false;
    TColor m_resultColor = 0;
    bool m_quitRequested = false;
    QMap<QString, int> m_tally;
};

class TestMonkey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void survivesRandomEvents_data();
    void survivesRandomEvents();

private:
    LinkCatcher m_links;
};

void TestMonkey::initTestCase()
{
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_links, "open");
    // "Losgelöst" raises the result window, which the offscreen platform cannot and says so every time.
    previousHandler =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (!text.contains(QLatin1String("does not support raise()")))
                previousHandler(type, context, text);
        });
}

void TestMonkey::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
}

void TestMonkey::survivesRandomEvents_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : seedsToRun())
        QTest::addRow("seed %u", seed) << seed;
}

void TestMonkey::survivesRandomEvents()
{
    QFETCH(quint32, seed);
    Monkey monkey(seed);
    const QString problem = monkey.run(eventsPerSeed());
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    qInfo("%d events: %s", eventsPerSeed(), qPrintable(monkey.tally()));
    for (const QUrl &url : std::as_const(m_links.urls))
        QCOMPARE(url.scheme(), QStringLiteral("http"));
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own frame: what a handler throws is shown as a message box, which the monkey would see.
    TApplication application(argc, argv);
    application.Initialize();
    application.SetTitle(QStringLiteral("Tintora"));
    TestMonkey test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_monkey.moc"
