#include "TGraphicControl.h"

#include <QMouseEvent>
#include <QTest>
#include <functional>

using Drawing = std::function<void(TCanvas &)>;
Q_DECLARE_METATYPE(Drawing)

namespace {

const QColor kBackground(Qt::white);
const QColor kPenColor(Qt::black);
const QColor kBrushColor(Qt::red);

// A control whose Paint runs what a test hands it.
class Sketch : public TGraphicControl
{
public:
    explicit Sketch(QWidget *parent = nullptr) : TGraphicControl(parent)
    {
        QPalette palette;
        palette.setColor(QPalette::Window, kBackground);
        setPalette(palette);
        setAutoFillBackground(true);
        resize(8, 6);
    }

    using TGraphicControl::Canvas;
    Drawing drawing;
    int paints = 0;

protected:
    void Paint() override
    {
        ++paints;
        if (drawing)
            drawing(Canvas);
    }
};

// The picture as rows of text: '#' pen colour, 'o' brush colour, '.' background, '?' anything else.
QStringList pictureOf(QWidget &widget)
{
    const QImage image = widget.grab().toImage();
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            row += pixel == kPenColor ? u'#' : pixel == kBrushColor ? u'o' : pixel == kBackground ? u'.' : u'?';
        }
        rows << row;
    }
    return rows;
}

void usePen(TCanvas &canvas, TPenStyle style, int width)
{
    canvas.Pen.Color = clBlack;
    canvas.Pen.Style = style;
    canvas.Pen.Width = width;
}

void useBrush(TCanvas &canvas, TBrushStyle style)
{
    canvas.Brush.Color = clRed;
    canvas.Brush.Style = style;
}

class MouseCountingWindow : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

} // namespace

class TestGraphicControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void canvasDrawsOnWholePixels_data();
    void canvasDrawsOnWholePixels();
    void drawingOutsidePaintIsIgnoredWithAWarning();
    void invalidateRepaints();
    void takesNoFocusAndKeepsItsMouseEvents();
};

void TestGraphicControl::canvasDrawsOnWholePixels_data()
{
    QTest::addColumn<Drawing>("drawing");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("rectangle filled without outline") << Drawing([](TCanvas &canvas) {
        usePen(canvas, psClear, 1);
        useBrush(canvas, bsSolid);
        canvas.Rectangle(1, 1, 6, 4);
    }) << QStringList({"........", ".ooooo..", ".ooooo..", ".ooooo..", "........", "........"});
    QTest::newRow("rectangle outlined, brush clear") << Drawing([](TCanvas &canvas) {
        usePen(canvas, psSolid, 1);
        useBrush(canvas, bsClear);
        canvas.Rectangle(1, 1, 6, 5);
    }) << QStringList({"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"});
    QTest::newRow("rectangle filled and outlined") << Drawing([](TCanvas &canvas) {
        usePen(canvas, psSolid, 1);
        useBrush(canvas, bsSolid);
        canvas.Rectangle(0, 0, 5, 5);
    }) << QStringList({"#####...", "#ooo#...", "#ooo#...", "#ooo#...", "#####...", "........"});
    QTest::newRow("thin line leaves out its end point") << Drawing([](TCanvas &canvas) {
        usePen(canvas, psSolid, 1);
        canvas.MoveTo(1, 2);
        canvas.LineTo(6, 2);
    }) << QStringList({"........", "........", ".#####..", "........", "........", "........"});
    QTest::newRow("clear pen only moves") << Drawing([](TCanvas &canvas) {
        usePen(canvas, psClear, 1);
        canvas.MoveTo(0, 0);
        canvas.LineTo(3, 1);
        canvas.Pen.Style = psSolid;
        canvas.LineTo(3, 4);
    }) << QStringList({"........", "...#....", "...#....", "...#....", "........", "........"});
    QTest::newRow("wide lines close their corners") << Drawing([](TCanvas &canvas) {
        usePen(canvas, psSolid, 2);
        canvas.MoveTo(1, 1);
        canvas.LineTo(1, 5);
        canvas.LineTo(7, 5);
        canvas.LineTo(7, 1);
        canvas.LineTo(1, 1);
    }) << QStringList({"########", "########", "##....##", "##....##", "########", "########"});
}

void TestGraphicControl::canvasDrawsOnWholePixels()
{
    QFETCH(Drawing, drawing);
    QFETCH(QStringList, expected);

    Sketch sketch;
    sketch.drawing = drawing;

    QCOMPARE(pictureOf(sketch), expected);
}

void TestGraphicControl::drawingOutsidePaintIsIgnoredWithAWarning()
{
    Sketch sketch;
    const QStringList blank = pictureOf(sketch);

    QTest::ignoreMessage(QtWarningMsg, "TCanvas: drawing outside of Paint is ignored");
    sketch.Canvas.Rectangle(0, 0, 8, 6);
    QTest::ignoreMessage(QtWarningMsg, "TCanvas: drawing outside of Paint is ignored");
    sketch.Canvas.LineTo(4, 4);

    QCOMPARE(pictureOf(sketch), blank);
}

void TestGraphicControl::invalidateRepaints()
{
    QWidget window;
    Sketch sketch(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(sketch.paints > 0);
    QCoreApplication::processEvents();
    sketch.paints = 0;

    sketch.Invalidate();

    QTRY_COMPARE(sketch.paints, 1);
}

void TestGraphicControl::takesNoFocusAndKeepsItsMouseEvents()
{
    MouseCountingWindow window;
    window.resize(50, 50);
    Sketch sketch(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(sketch.focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(&sketch, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    QCOMPARE(window.presses, 0);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    QCOMPARE(window.presses, 1);
}

QTEST_MAIN(TestGraphicControl)
#include "tst_graphiccontrol.moc"
