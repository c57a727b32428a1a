#include "TintoraWidgets.h"

#include "Anzeige.h"
#include "ComponentRegistry.h"
#include "Hexedit.h"
#include "Numericedit.h"
#include "PaletteWidget.h"
#include "Printablememo.h"

#include <QHash>

namespace {

struct Texts
{
    QString toolTip;
    QString whatsThis;
};

// What the Widget Box tells about each class, in the language of our users.
const QHash<QString, Texts> &textsByClass()
{
    static const QHash<QString, Texts> texts{
        {QStringLiteral("TNumericEdit"),
         {QStringLiteral("Eingabefeld für Dezimalzahlen"),
          QStringLiteral("Ein einzeiliges Eingabefeld für eine Dezimalzahl mit Vorzeichen. Vorkommastellen und "
                         "Nachkommastellen begrenzen die Ziffern vor und nach dem Dezimaltrennzeichen (Seperator); "
                         "mit ShowErrorMessage erklärt ein Meldungsfenster jede abgewiesene Taste. GetDouble "
                         "liefert die eingegebene Zahl.")}},
        {QStringLiteral("THexEdit"),
         {QStringLiteral("Eingabefeld für Hexadezimalzahlen"),
          QStringLiteral("Ein einzeiliges Eingabefeld, das beim Tippen nur Hexadezimalziffern (0 bis 9, A bis F) "
                         "und die Rücktaste annimmt. GetDezimal liefert den Wert als ganze Zahl.")}},
        {QStringLiteral("TAnzeige"),
         {QStringLiteral("Zweifarbige Statuslampe"),
          QStringLiteral("Eine quadratische Lampe mit schwarzem Rahmen. Ist Status wahr, leuchtet sie in "
                         "Color_on, sonst in Color_off.")}},
        {QStringLiteral("TPrintableMemo"),
         {QStringLiteral("Mehrzeiliges Textfeld, das sich selbst druckt"),
          QStringLiteral("Ein mehrzeiliges Textfeld. Print druckt alle Zeilen, wie sie angezeigt werden, in der "
                         "Schrift des Textfelds auf dem aktuellen Drucker, mit Seitenumbruch, wo eine Seite voll "
                         "ist.")}},
    };
    return texts;
}

} // namespace

TintoraWidgets::TintoraWidgets(QObject *parent) : QObject(parent)
{
    Numericedit::Register();
    Hexedit::Register();
    Anzeige::Register();
    Printablememo::Register();

    for (const ComponentRegistration &registration : RegisteredComponents()) {
        const Texts texts = textsByClass().value(registration.className());
        m_widgets.push_back(std::make_unique<PaletteWidget>(registration, texts.toolTip, texts.whatsThis));
    }
}

TintoraWidgets::~TintoraWidgets() = default;

QList<QDesignerCustomWidgetInterface *> TintoraWidgets::customWidgets() const
{
    QList<QDesignerCustomWidgetInterface *> widgets;
    for (const auto &widget : m_widgets)
        widgets.append(widget.get());
    return widgets;
}
