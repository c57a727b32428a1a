#pragma once

#include <QPlainTextEdit>
#include <QStringList>

// The multi-line edit base of our memo controls. Word wrap is on by default.
class TCustomMemo : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TCustomMemo(QWidget *parent = nullptr);

    // One entry per line as the memo shows it: with word wrap on, a paragraph wider than the memo gives one
    // entry per screen line, wrapped at the memo's current width even while it is hidden. An empty last line
    // is not an entry, so an empty memo has none.
    QStringList Lines() const;
    QFont Font() const { return font(); }

private:
    void applyPendingResize();
};
