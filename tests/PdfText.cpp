#include "PdfText.h"

#include <QFile>
#include <memory>
#include <poppler-document.h>
#include <poppler-page.h>

QList<PdfWord> PdfText::wordsOnPage(int page) const
{
    QList<PdfWord> result;
    for (const PdfWord &word : words) {
        if (word.page == page)
            result.append(word);
    }
    return result;
}

PdfText readPdfText(const QString &fileName)
{
    PdfText text;
    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_file(QFile::encodeName(fileName).toStdString()));
    if (!document)
        return text;
    text.loaded = true;
    text.pageCount = document->pages();
    for (int index = 0; index < text.pageCount; ++index) {
        const std::unique_ptr<poppler::page> page(document->create_page(index));
        if (index == 0) {
            const poppler::rectf rect = page->page_rect();
            text.pageSize = QSizeF(rect.width(), rect.height());
        }
        for (const poppler::text_box &box : page->text_list(poppler::page::text_list_include_font)) {
            const poppler::byte_array utf8 = box.text().to_utf8();
            const poppler::rectf bbox = box.bbox();
            text.words.append({index, QString::fromUtf8(utf8.data(), qsizetype(utf8.size())),
                               QRectF(bbox.x(), bbox.y(), bbox.width(), bbox.height()), box.get_font_size(),
                               QString::fromStdString(box.get_font_name())});
        }
    }
    return text;
}
