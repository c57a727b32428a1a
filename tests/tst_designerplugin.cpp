#include <QIcon>
#include <QImage>
#include <QPluginLoader>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

// The plugin is loaded as Designer loads it, from the built file; this program links none of our widgets, so
// everything it sees comes through the plugin.
class tst_DesignerPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void offersOurFourWidgets();
    void describesEachWidget_data();
    void describesEachWidget();
    void showsEachWidgetsPaletteImage_data();
    void showsEachWidgetsPaletteImage();
    void createsEachWidgetOfItsClass_data();
    void createsEachWidgetOfItsClass();
    void placesEachWidgetWithoutPropertiesOfItsOwn_data();
    void placesEachWidgetWithoutPropertiesOfItsOwn();

private:
    void addWidgetRows();
    QDesignerCustomWidgetInterface *widget(const QString &name) const;

    QList<QDesignerCustomWidgetInterface *> m_widgets;
};

void tst_DesignerPlugin::initTestCase()
{
    QPluginLoader loader(QStringLiteral(TINTORA_DESIGNER_PLUGIN));
    QObject *plugin = loader.instance();
    QVERIFY2(plugin, qPrintable(loader.errorString()));
    QCOMPARE(loader.metaData().value(QStringLiteral("IID")).toString(),
             QStringLiteral(QDesignerCustomWidgetCollectionInterface_iid));
    auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(plugin);
    QVERIFY(collection);
    m_widgets = collection->customWidgets();
}

QDesignerCustomWidgetInterface *tst_DesignerPlugin::widget(const QString &name) const
{
    for (QDesignerCustomWidgetInterface *candidate : m_widgets) {
        if (candidate->name() == name)
            return candidate;
    }
    return nullptr;
}

void tst_DesignerPlugin::offersOurFourWidgets()
{
    QStringList names;
    for (QDesignerCustomWidgetInterface *candidate : m_widgets)
        names.append(candidate->name());
    names.sort();
    QCOMPARE(names, QStringList({"TAnzeige", "THexEdit", "TNumericEdit", "TPrintableMemo"}));
}

void tst_DesignerPlugin::addWidgetRows()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("includeFile");
    QTest::addColumn<QString>("paletteImage");
    QTest::addColumn<QString>("baseClass");

    const QString source = QStringLiteral(TINTORA_SOURCE_DIR);
    QTest::newRow("numeric edit") << "TNumericEdit"
                                  << "User"
                                  << "Numericedit.h" << source + "/designer/icons/TNUMERICEDIT.png"
                                  << "QLineEdit";
    QTest::newRow("hex edit") << "THexEdit"
                              << "User"
                              << "Hexedit.h" << source + "/designer/icons/THEXEDIT.png"
                              << "QLineEdit";
    QTest::newRow("lamp") << "TAnzeige"
                          << "Beispiele"
                          << "Anzeige.h" << source + "/designer/icons/TANZEIGE.png"
                          << "QWidget";
    QTest::newRow("memo") << "TPrintableMemo"
                          << "Samples"
                          << "Printablememo.h" << source + "/components/images/TPRINTABLEMEMO.png"
                          << "QPlainTextEdit";
}

void tst_DesignerPlugin::describesEachWidget_data()
{
    addWidgetRows();
}

void tst_DesignerPlugin::describesEachWidget()
{
    QFETCH(QString, name);
    QFETCH(QString, group);
    QFETCH(QString, includeFile);

    QDesignerCustomWidgetInterface *candidate = widget(name);
    QVERIFY(candidate);
    QCOMPARE(candidate->group(), group);
    QCOMPARE(candidate->includeFile(), includeFile);
    QVERIFY(!candidate->toolTip().isEmpty());
    QVERIFY(!candidate->whatsThis().isEmpty());
    QVERIFY(!candidate->isContainer());
}

void tst_DesignerPlugin::showsEachWidgetsPaletteImage_data()
{
    addWidgetRows();
}

void tst_DesignerPlugin::showsEachWidgetsPaletteImage()
{
    QFETCH(QString, name);
    QFETCH(QString, paletteImage);

    QDesignerCustomWidgetInterface *candidate = widget(name);
    QVERIFY(candidate);
    const QIcon icon = candidate->icon();
    QVERIFY(!icon.isNull());
    const QImage expected(paletteImage);
    QVERIFY2(!expected.isNull(), qPrintable(paletteImage));
    QCOMPARE(icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             expected.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void tst_DesignerPlugin::createsEachWidgetOfItsClass_data()
{
    addWidgetRows();
}

void tst_DesignerPlugin::createsEachWidgetOfItsClass()
{
    QFETCH(QString, name);
    QFETCH(QString, baseClass);

    QDesignerCustomWidgetInterface *candidate = widget(name);
    QVERIFY(candidate);
    QWidget form;
    QPointer<QWidget> created = candidate->createWidget(&form);
    QVERIFY(created);
    QCOMPARE(QString::fromLatin1(created->metaObject()->className()), name);
    QCOMPARE(created->parentWidget(), &form);
    QVERIFY(created->inherits(qPrintable(baseClass)));
}

void tst_DesignerPlugin::placesEachWidgetWithoutPropertiesOfItsOwn_data()
{
    addWidgetRows();
}

// Whatever the Widget Box's XML sets, Designer marks as changed and stores in every form: a widget placed from
// it must come with its constructor's defaults only.
void tst_DesignerPlugin::placesEachWidgetWithoutPropertiesOfItsOwn()
{
    QFETCH(QString, name);

    QDesignerCustomWidgetInterface *candidate = widget(name);
    QVERIFY(candidate);
    QXmlStreamReader xml(candidate->domXml());
    QStringList elements;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        elements.append(xml.name().toString());
        if (xml.name() == QLatin1String("widget")) {
            QCOMPARE(xml.attributes().value(QLatin1String("class")).toString(), name);
            QVERIFY(!xml.attributes().value(QLatin1String("name")).isEmpty());
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(elements, QStringList({"ui", "widget"}));
}

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designerplugin.moc"
