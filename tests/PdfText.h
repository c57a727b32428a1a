#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The text of a PDF file as poppler reads it, for checking what was printed. Positions are in points from
// the top left corner of the paper.
struct PdfWord
{
    int page = 0; // from 0
    QString text;
    QRectF box;
    double fontSize = 0;
    QString fontName;
};

struct PdfText
{
    bool loaded = false;
    int pageCount = 0;
    QSizeF pageSize;
    QList<PdfWord> words;

    QList<PdfWord> wordsOnPage(int page) const;
};

PdfText readPdfText(const QString &fileName);
