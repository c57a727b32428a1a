// What one slider change costs in the main window, and whether anything paints that should not:
//   QT_QPA_PLATFORM=offscreen bench_slider [Qt Test options] [oneChange sweep idle]
// oneChange: a Qt Test benchmark of one change of a slider through the window's real handler, with the
//   resulting paint events processed, so the time includes the repaint of every control the handler touched.
// sweep: every slider from 0 to 255 and back, five times, each change timed on its own; the worst change by
//   its median over the sweeps, the slowest single one, and the paint events the sweeps caused: FormPaint (the
//   form's OnPaint), the main window's own paint events and whether any reached beyond the repainted children.
// idle: the shown window left alone for 10 s: every event delivered, paints and timers among them, and the
//   process's CPU time and context switches.
// The lines starting with "bench:" are read by bench/run.sh.

#include "FormsFixture.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QPaintEvent>
#include <QTimer>
#include <algorithm>
#include <array>
#include <ctime>
#include <memory>
#include <sys/resource.h>

namespace {

std::array<TScrollBar *, 3> sliders()
{
    return {Form1->ScrollBar1, Form1->ScrollBar2, Form1->ScrollBar3};
}

// Sees every event the application delivers while it exists and counts those the guards are about. It keeps
// its work during a change small, as it runs inside the timed part; closeChange() does the sums afterwards.
class EventCounter : public QObject
{
public:
    explicit EventCounter(const QObject *ignored) : m_ignored(ignored)
    {
        QCoreApplication::instance()->installEventFilter(this);
        connect(Form1, &TForm::OnPaint, this, [this] { ++formPaints; });
    }

    // Adds up what the main window painted beyond the areas of the children that repainted in this change.
    void closeChange()
    {
        QRegion main;
        QRegion children;
        for (const auto &[widget, region] : std::as_const(m_changePaints)) {
            if (widget == Form1)
                main += region;
            else
                children += region.translated(widget->mapTo(Form1, QPoint(0, 0)));
        }
        mainBeyondChildrenPixels += area(main.subtracted(children));
        m_changePaints.clear();
    }

    QString paintsByControl() const
    {
        QStringList parts;
        for (auto it = m_paintsByControl.cbegin(); it != m_paintsByControl.cend(); ++it)
            parts.append(QStringLiteral("%1:%2").arg(name(it.key())).arg(it.value()));
        parts.sort();
        return parts.join(QLatin1Char(','));
    }

    int formPaints = 0;
    int mainPaints = 0;
    int childPaints = 0;
    int mainBeyondChildrenPixels = 0;
    int timers = 0;
    int events = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_ignored)
            return false;
        ++events;
        if (event->type() == QEvent::Timer)
            ++timers;
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            countPaint(static_cast<const QWidget *>(watched), static_cast<const QPaintEvent &>(*event));
        return false;
    }

private:
    static int area(const QRegion &region)
    {
        int pixels = 0;
        for (const QRect &rect : region)
            pixels += rect.width() * rect.height();
        return pixels;
    }

    static QString name(const QWidget *widget)
    {
        return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                              : widget->objectName();
    }

    void countPaint(const QWidget *widget, const QPaintEvent &event)
    {
        ++m_paintsByControl[widget];
        if (widget != Form1 && !Form1->isAncestorOf(widget))
            return;
        ++(widget == Form1 ? mainPaints : childPaints);
        m_changePaints.append({widget, event.region()});
    }

    const QObject *m_ignored;
    QHash<const QWidget *, int> m_paintsByControl;
    QList<std::pair<const QWidget *, QRegion>> m_changePaints;
};

// The repaint a change asks for is posted; processing the posted events paints and flushes it.
void processPaints()
{
    QCoreApplication::processEvents();
}

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// The wall time of a change, and the CPU time of the GUI thread, which a busy machine does not inflate.
struct ChangeCost
{
    qint64 wallNs;
    qint64 cpuNs;
};

ChangeCost changeAndPaint(TScrollBar *slider, int value)
{
    QElapsedTimer timer;
    const qint64 cpuStart = threadCpuNs();
    timer.start();
    slider->setValue(value);
    processPaints();
    return {timer.nsecsElapsed(), threadCpuNs() - cpuStart};
}

struct ProcessTimes
{
    double cpuMs = 0;
    long voluntarySwitches = 0;
    long involuntarySwitches = 0;
};

ProcessTimes processTimes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return {ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_nvcsw, usage.ru_nivcsw};
}

struct Change
{
    TScrollBar *slider;
    int from;
    int to;
};

// Each slider from 0 to 255 and back, one step at a time, as a drag across the whole track does.
QList<Change> sweepChanges()
{
    QList<Change> changes;
    for (TScrollBar *slider : sliders()) {
        for (int value = 1; value <= 255; ++value)
            changes.append({slider, value - 1, value});
        for (int value = 254; value >= 0; --value)
            changes.append({slider, value + 1, value});
    }
    return changes;
}

} // namespace

class BenchSlider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void oneChange_data();
    void oneChange();
    void sweep();
    void idle();

private:
    std::unique_ptr<FormsFixture> m_forms;
};

void BenchSlider::initTestCase()
{
    m_forms = std::make_unique<FormsFixture>();
    FormsFixture::showMain();
    qInfo().noquote() << "bench: platform" << QGuiApplication::platformName();
}

void BenchSlider::cleanupTestCase()
{
    m_forms.reset();
}

void BenchSlider::oneChange_data()
{
    QTest::addColumn<int>("sliderIndex");
    QTest::newRow("red") << 0;
    QTest::newRow("green") << 1;
    QTest::newRow("blue") << 2;
}

void BenchSlider::oneChange()
{
    QFETCH(int, sliderIndex);
    TScrollBar *slider = sliders().at(sliderIndex);
    int value = slider->value();
    QBENCHMARK
    {
        value = (value + 1) % 256;
        slider->setValue(value);
        processPaints();
    }
}

void BenchSlider::sweep()
{
    // Each change is timed in every sweep and judged by its median, so that a change counts as slow when it is
    // slow every time, not when the scheduler happened to run something else in its middle.
    constexpr int kSweeps = 5;
    for (TScrollBar *slider : sliders())
        slider->setValue(0);
    processPaints();
    const QList<Change> changes = sweepChanges();
    QList<QList<qint64>> times(changes.size());
    qint64 worstCpu = -1;
    int latePaints = 0;
    EventCounter counter(nullptr);
    for (int sweep = 0; sweep < kSweeps; ++sweep) {
        for (qsizetype i = 0; i < changes.size(); ++i) {
            const ChangeCost cost = changeAndPaint(changes.at(i).slider, changes.at(i).to);
            times[i].append(cost.wallNs);
            worstCpu = std::max(worstCpu, cost.cpuNs);
            // Whatever paints only after the timed processing was not in the time.
            const int paintsSoFar = counter.mainPaints + counter.childPaints;
            processPaints();
            latePaints += counter.mainPaints + counter.childPaints - paintsSoFar;
            counter.closeChange();
        }
    }
    QVERIFY2(counter.childPaints >= kSweeps * changes.size(),
             "a change repainted nothing: the timing would not include a paint");

    QList<qint64> all;
    QList<qint64> medians;
    for (QList<qint64> &changeTimes : times) {
        all.append(changeTimes);
        std::sort(changeTimes.begin(), changeTimes.end());
        medians.append(changeTimes.at(kSweeps / 2));
    }
    const qsizetype worst = std::max_element(medians.cbegin(), medians.cend()) - medians.cbegin();
    std::sort(all.begin(), all.end());
    const Change &worstChange = changes.at(worst);
    qInfo().noquote() << QStringLiteral("bench: sweep sweeps=%1 changes=%2 median_ms=%3 p99_ms=%4 worst_ms=%5 "
                                        "worst_change=%6:%7->%8 worst_single_ms=%9")
                             .arg(kSweeps)
                             .arg(changes.size())
                             .arg(all.at(all.size() / 2) / 1e6, 0, 'f', 3)
                             .arg(all.at(all.size() * 99 / 100) / 1e6, 0, 'f', 3)
                             .arg(medians.at(worst) / 1e6, 0, 'f', 3)
                             .arg(worstChange.slider->objectName())
                             .arg(worstChange.from)
                             .arg(worstChange.to)
                             .arg(all.last() / 1e6, 0, 'f', 3)
                      << QStringLiteral("worst_cpu_ms=%1").arg(worstCpu / 1e6, 0, 'f', 3);
    qInfo().noquote() << QStringLiteral("bench: sweep formpaint=%1 mainpaint=%2 mainpaint_beyond_children_px=%3 "
                                        "childpaints=%4 latepaints=%5")
                             .arg(counter.formPaints)
                             .arg(counter.mainPaints)
                             .arg(counter.mainBeyondChildrenPixels)
                             .arg(counter.childPaints)
                             .arg(latePaints);
    qInfo().noquote() << "bench: sweep paints_by_control" << counter.paintsByControl();
}

void BenchSlider::idle()
{
    constexpr int kIdleMs = 10000;
    processPaints();
    QTimer end;
    end.setSingleShot(true);
    QEventLoop loop;
    connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    // The timer that ends the wait is the one event expected.
    EventCounter counter(&end);
    const ProcessTimes before = processTimes();
    end.start(kIdleMs);
    loop.exec();
    const ProcessTimes after = processTimes();

    qInfo().noquote() << QStringLiteral("bench: idle seconds=%1 formpaint=%2 mainpaint=%3 childpaints=%4 timers=%5 "
                                        "events=%6 cpu_ms=%7 voluntary_switches=%8 involuntary_switches=%9")
                             .arg(kIdleMs / 1000)
                             .arg(counter.formPaints)
                             .arg(counter.mainPaints)
                             .arg(counter.childPaints)
                             .arg(counter.timers)
                             .arg(counter.events)
                             .arg(after.cpuMs - before.cpuMs, 0, 'f', 1)
                             .arg(after.voluntarySwitches - before.voluntarySwitches)
                             .arg(after.involuntarySwitches - before.involuntarySwitches);
    if (counter.events > 0)
        qInfo().noquote() << "bench: idle paints_by_control" << counter.paintsByControl();
}

QTEST_MAIN(BenchSlider)
#include "slider.moc"
