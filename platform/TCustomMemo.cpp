#include "TCustomMemo.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextLayout>

TCustomMemo::TCustomMemo(QWidget *parent) : QPlainTextEdit(parent) {}

QStringList TCustomMemo::Lines() const
{
    // Wrapping the lines anew is not a change anyone can see.
    const_cast<TCustomMemo *>(this)->applyPendingResize();

    QStringList lines;
    const QAbstractTextDocumentLayout *layout = document()->documentLayout();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays out a block that is not laid out yet
        const QTextLayout *blockLayout = block.layout();
        const QString text = block.text();
        if (blockLayout->lineCount() <= 1) {
            lines.append(text);
            continue;
        }
        for (int i = 0; i < blockLayout->lineCount(); ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            QString lineText = text.mid(line.textStart(), line.textLength());
            // A line ended by Shift+Enter carries the separator character itself.
            if (lineText.endsWith(QChar::LineSeparator))
                lineText.chop(1);
            lines.append(lineText);
        }
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// Qt tells a hidden widget about a new size only when it is shown; until then the text stays wrapped at the
// old width. The memo places its viewport on its own resize, and the viewport's resize wraps the text.
void TCustomMemo::applyPendingResize()
{
    for (QWidget *widget : {static_cast<QWidget *>(this), viewport()}) {
        if (!widget->testAttribute(Qt::WA_PendingResizeEvent))
            continue;
        QResizeEvent event(widget->size(), QSize());
        QCoreApplication::sendEvent(widget, &event);
        widget->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
}

// The meta-object code stays in this object file, so a program that places no memo links none of it.
#include "moc_TCustomMemo.cpp"
