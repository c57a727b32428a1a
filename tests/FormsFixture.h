#pragma once

#include "Unit1.h"
#include "Unit2.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

// Both windows as the program creates them, torn down in the program's order: the result window first, its
// destroy handler still reaching into the main window.
struct FormsFixture
{
    FormsFixture()
    {
        Form1 = new TForm1;
        Form2 = new TForm2;
    }
    ~FormsFixture()
    {
        Form2->BeforeDestruction();
        delete Form2;
        Form2 = nullptr;
        delete Form1;
        Form1 = nullptr;
    }
    FormsFixture(const FormsFixture &) = delete;
    FormsFixture &operator=(const FormsFixture &) = delete;

    // The main window on screen, exposed once (its first paint), and active.
    static void showMain()
    {
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        activate(Form1);
    }

    static void activate(QWidget *window)
    {
        QApplication::setActiveWindow(window);
        QTRY_COMPARE(QApplication::activeWindow(), window);
    }

    // Uncovers the main window the way a restore from the task bar does, which repaints its whole surface.
    static void exposeMainAgain()
    {
        QSignalSpy paints(Form1, &TForm::OnPaint);
        Form1->showMinimized();
        Form1->showNormal();
        QTRY_VERIFY(paints.count() > 0);
    }

    static void click(QWidget *control) { QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center()); }

    // A mouse move over the window's own surface, at a point where no control lies.
    static void moveMouseOverBareSurface(QWidget *window, QPoint at)
    {
        QVERIFY(!window->childAt(at));
        QMouseEvent move(QEvent::MouseMove, at, window->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window, &move);
    }
};
