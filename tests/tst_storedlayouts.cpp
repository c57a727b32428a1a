#include "Anzeige.h"
#include "ComponentRegistry.h"
#include "Hexedit.h"
#include "Locale.h"
#include "MessageBox.h"
#include "Numericedit.h"
#include "Printablememo.h"
#include "ui_tst_storedlayouts.h"

#include <QBuffer>
#include <QFormBuilder>
#include <QTest>
#include <QXmlStreamReader>
#include <map>
#include <memory>

namespace {

const ComponentRegistration *registrationOf(const QString &className)
{
    for (const ComponentRegistration &registration : RegisteredComponents()) {
        if (registration.className() == className)
            return &registration;
    }
    return nullptr;
}

// Reads and writes forms the way Qt Designer does with our plugin: our classes are created through their
// palette registrations, and only the properties that differ from a newly placed widget of the class are
// stored (Designer stores what its property editor marks as changed, and resets a property to the value of a
// newly created widget).
class LayoutBuilder : public QFormBuilder
{
public:
    LayoutBuilder() { setPluginPath({}); }

    QString saveForm(QWidget *form)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        save(&buffer, form);
        return QString::fromUtf8(buffer.data());
    }

    std::unique_ptr<QWidget> loadForm(const QString &xml)
    {
        QBuffer buffer;
        buffer.setData(xml.toUtf8());
        buffer.open(QIODevice::ReadOnly);
        return std::unique_ptr<QWidget>(load(&buffer));
    }

protected:
    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override
    {
        const ComponentRegistration *registration = registrationOf(className);
        if (!registration)
            return QFormBuilder::createWidget(className, parent, name);
        QWidget *widget = registration->create(parent);
        widget->setObjectName(name);
        return widget;
    }

    // Our widgets are no containers: the widgets inside them (a memo's viewport and scroll bars) are theirs,
    // not the form's.
    using QFormBuilder::createDom;
    DomWidget *createDom(QWidget *widget, DomWidget *parent, bool recursive) override
    {
        return QFormBuilder::createDom(widget, parent, recursive && !registrationOf(widget->metaObject()->className()));
    }

    bool checkProperty(QObject *object, const QString &propertyName) const override
    {
        const QWidget *placed = placedWidget(QString::fromLatin1(object->metaObject()->className()));
        if (!placed)
            return QFormBuilder::checkProperty(object, propertyName);
        const QByteArray name = propertyName.toLatin1();
        return object->property(name) != placed->property(name);
    }

private:
    // A widget of the class as it is when placed on a form: ours as their registrations create them, and the
    // form's own plain QWidget.
    const QWidget *placedWidget(const QString &className) const
    {
        std::unique_ptr<QWidget> &widget = m_placed[className];
        if (!widget) {
            if (const ComponentRegistration *registration = registrationOf(className))
                widget.reset(registration->create(nullptr));
            else if (className == QLatin1String("QWidget"))
                widget = std::make_unique<QWidget>();
        }
        return widget.get();
    }

    mutable std::map<QString, std::unique_ptr<QWidget>> m_placed;
};

// The names of the properties stored for the widget `objectName`.
QStringList storedProperties(const QString &xml, const QString &objectName)
{
    QStringList properties;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != QLatin1String("widget") ||
            reader.attributes().value("name") != objectName)
            continue;
        while (reader.readNextStartElement()) {
            if (reader.name() == QLatin1String("property"))
                properties.append(reader.attributes().value("name").toString());
            reader.skipCurrentElement();
        }
        break;
    }
    return properties;
}

// The properties a class declares itself, beside those of its bases.
QStringList ownProperties(const QMetaObject &metaObject)
{
    QStringList names;
    for (int index = metaObject.propertyOffset(); index < metaObject.propertyCount(); ++index)
        names.append(QString::fromLatin1(metaObject.property(index).name()));
    return names;
}

QStringList boxes(const MessageBoxRecorder &recorder)
{
    QStringList shown;
    for (const MessageBoxCall &call : recorder.calls())
        shown.append(QStringLiteral("%1 | %2 | %3").arg(call.caption, call.text).arg(call.flags));
    return shown;
}

QString otherThanSystemSeparator()
{
    return SystemDecimalSeparator() == QLatin1String(",") ? QStringLiteral(".") : QStringLiteral(",");
}

} // namespace

class tst_StoredLayouts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void storesNoPropertyOfItsOwnAtDefaults_data();
    void storesNoPropertyOfItsOwnAtDefaults();
    void storesChangedPropertyUnderItsName_data();
    void storesChangedPropertyUnderItsName();
    void explainsRefusedStoredValueAndKeepsDefault_data();
    void explainsRefusedStoredValueAndKeepsDefault();
    void formBuiltByUicGetsStoredValues_data();
    void formBuiltByUicGetsStoredValues();
    void formBuiltByUicExplainsRefusedValues();
};

void tst_StoredLayouts::initTestCase()
{
    Numericedit::Register();
    Hexedit::Register();
    Anzeige::Register();
    Printablememo::Register();
}

void tst_StoredLayouts::storesNoPropertyOfItsOwnAtDefaults_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("properties");
    QTest::addColumn<QVariantList>("defaults");

    QTest::newRow("numeric edit") << "TNumericEdit"
                                  << QStringList{"Vorkommastellen", "Nachkommastellen", "Seperator", "ShowErrorMessage"}
                                  << QVariantList{10, 2, SystemDecimalSeparator(), false};
    QTest::newRow("hex edit") << "THexEdit" << QStringList{} << QVariantList{};
    QTest::newRow("lamp") << "TAnzeige" << QStringList{"Color_on", "Color_off", "Status"}
                          << QVariantList{uint(clAqua), uint(clBtnFace), false};
    QTest::newRow("memo") << "TPrintableMemo" << QStringList{"LinesPerPage"} << QVariantList{0};
}

void tst_StoredLayouts::storesNoPropertyOfItsOwnAtDefaults()
{
    QFETCH(QString, className);
    QFETCH(QStringList, properties);
    QFETCH(QVariantList, defaults);

    const ComponentRegistration *registration = registrationOf(className);
    QVERIFY(registration);
    QCOMPARE(ownProperties(*registration->metaObject), properties);

    MessageBoxRecorder recorder;
    LayoutBuilder builder;
    QWidget form;
    registration->create(&form)->setObjectName(QStringLiteral("placed"));
    const QString xml = builder.saveForm(&form);

    const QStringList stored = storedProperties(xml, QStringLiteral("placed"));
    QVERIFY2(stored.contains(QStringLiteral("objectName")), qPrintable(xml));
    for (const QString &property : properties)
        QVERIFY2(!stored.contains(property), qPrintable(property));

    const std::unique_ptr<QWidget> loaded = builder.loadForm(xml);
    QVERIFY(loaded);
    const QWidget *placed = loaded->findChild<QWidget *>(QStringLiteral("placed"));
    QVERIFY(placed);
    QCOMPARE(QString::fromLatin1(placed->metaObject()->className()), className);
    for (qsizetype index = 0; index < properties.size(); ++index)
        QCOMPARE(placed->property(qPrintable(properties[index])), defaults[index]);
    QCOMPARE(boxes(recorder), QStringList());
}

void tst_StoredLayouts::storesChangedPropertyUnderItsName_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("Vorkommastellen") << "TNumericEdit"
                                     << "Vorkommastellen" << QVariant(3);
    QTest::newRow("Vorkommastellen 15") << "TNumericEdit"
                                        << "Vorkommastellen" << QVariant(15);
    QTest::newRow("Nachkommastellen 0") << "TNumericEdit"
                                        << "Nachkommastellen" << QVariant(0);
    QTest::newRow("Seperator") << "TNumericEdit"
                               << "Seperator" << QVariant(otherThanSystemSeparator());
    QTest::newRow("no Seperator") << "TNumericEdit"
                                  << "Seperator" << QVariant(QString());
    QTest::newRow("ShowErrorMessage") << "TNumericEdit"
                                      << "ShowErrorMessage" << QVariant(true);
    QTest::newRow("Color_on") << "TAnzeige"
                              << "Color_on" << QVariant(uint(clRed));
    QTest::newRow("Color_off system colour") << "TAnzeige"
                                             << "Color_off" << QVariant(uint(clWindowText));
    QTest::newRow("Status") << "TAnzeige"
                            << "Status" << QVariant(true);
    QTest::newRow("LinesPerPage") << "TPrintableMemo"
                                  << "LinesPerPage" << QVariant(40);
}

void tst_StoredLayouts::storesChangedPropertyUnderItsName()
{
    QFETCH(QString, className);
    QFETCH(QString, property);
    QFETCH(QVariant, value);

    MessageBoxRecorder recorder;
    LayoutBuilder builder;
    QWidget form;
    QWidget *widget = registrationOf(className)->create(&form);
    widget->setObjectName(QStringLiteral("placed"));
    QVERIFY(widget->setProperty(qPrintable(property), value));
    const QString xml = builder.saveForm(&form);

    const QStringList stored = storedProperties(xml, QStringLiteral("placed"));
    QStringList storedOwn;
    for (const QString &own : ownProperties(*widget->metaObject())) {
        if (stored.contains(own))
            storedOwn.append(own);
    }
    QCOMPARE(storedOwn, QStringList{property});

    const std::unique_ptr<QWidget> loaded = builder.loadForm(xml);
    QVERIFY(loaded);
    const QWidget *placed = loaded->findChild<QWidget *>(QStringLiteral("placed"));
    QVERIFY(placed);
    QCOMPARE(placed->property(qPrintable(property)), value);
    QCOMPARE(boxes(recorder), QStringList());
}

void tst_StoredLayouts::explainsRefusedStoredValueAndKeepsDefault_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QVariant>("kept");

    QTest::newRow("Vorkommastellen 16") << "Vorkommastellen"
                                        << "<number>16</number>"
                                        << "Nicht mehr als 15 Stellen" << QVariant(10);
    QTest::newRow("Nachkommastellen -16") << "Nachkommastellen"
                                          << "<number>-16</number>"
                                          << "Nicht mehr als 15 Stellen" << QVariant(2);
    QTest::newRow("two-character Seperator") << "Seperator"
                                             << "<string>,.</string>"
                                             << "Nicht mehr als 1 Zeichen" << QVariant(SystemDecimalSeparator());
}

void tst_StoredLayouts::explainsRefusedStoredValueAndKeepsDefault()
{
    QFETCH(QString, property);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    QFETCH(QVariant, kept);

    const QString xml = QStringLiteral("<ui version=\"4.0\"><class>Form</class><widget class=\"QWidget\" name=\"Form\">"
                                       "<widget class=\"TNumericEdit\" name=\"placed\">"
                                       "<property name=\"%1\" stdset=\"0\">%2</property>"
                                       "</widget></widget></ui>")
                            .arg(property, stored);
    MessageBoxRecorder recorder;
    LayoutBuilder builder;
    const std::unique_ptr<QWidget> loaded = builder.loadForm(xml);
    QVERIFY(loaded);
    const QWidget *placed = loaded->findChild<QWidget *>(QStringLiteral("placed"));
    QVERIFY(placed);
    QCOMPARE(boxes(recorder), QStringList{QStringLiteral("TNumericEdit | %1 | 0").arg(message)});
    QCOMPARE(placed->property(qPrintable(property)), kept);
}

void tst_StoredLayouts::formBuiltByUicGetsStoredValues_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("Vorkommastellen") << "NumericEdit1"
                                     << "Vorkommastellen" << QVariant(3);
    QTest::newRow("Nachkommastellen") << "NumericEdit1"
                                      << "Nachkommastellen" << QVariant(0);
    QTest::newRow("Seperator") << "NumericEdit1"
                               << "Seperator" << QVariant(QStringLiteral(";"));
    QTest::newRow("ShowErrorMessage") << "NumericEdit1"
                                      << "ShowErrorMessage" << QVariant(true);
    QTest::newRow("Color_on") << "Anzeige1"
                              << "Color_on" << QVariant(uint(clRed));
    QTest::newRow("Color_off") << "Anzeige1"
                               << "Color_off" << QVariant(uint(clNavy));
    QTest::newRow("Status") << "Anzeige1"
                            << "Status" << QVariant(true);
    QTest::newRow("LinesPerPage") << "PrintableMemo1"
                                  << "LinesPerPage" << QVariant(40);
}

void tst_StoredLayouts::formBuiltByUicGetsStoredValues()
{
    QFETCH(QString, object);
    QFETCH(QString, property);
    QFETCH(QVariant, value);

    MessageBoxRecorder recorder;
    QWidget form;
    Ui::StoredLayouts().setupUi(&form);
    const QWidget *widget = form.findChild<QWidget *>(object);
    QVERIFY(widget);
    QCOMPARE(widget->property(qPrintable(property)), value);
}

// NumericEdit2 stores a count and a separator its writers refuse: both are explained while the form is built,
// in the order of the layout, and the defaults stay.
void tst_StoredLayouts::formBuiltByUicExplainsRefusedValues()
{
    MessageBoxRecorder recorder;
    QWidget form;
    Ui::StoredLayouts ui;
    ui.setupUi(&form);
    QCOMPARE(boxes(recorder), (QStringList{QStringLiteral("TNumericEdit | Nicht mehr als 15 Stellen | 0"),
                                           QStringLiteral("TNumericEdit | Nicht mehr als 1 Zeichen | 0")}));
    QCOMPARE(ui.NumericEdit2->GetVorkomma(), 10);
    QCOMPARE(ui.NumericEdit2->GetSeperator(), SystemDecimalSeparator());
}

QTEST_MAIN(tst_StoredLayouts)
#include "tst_storedlayouts.moc"
