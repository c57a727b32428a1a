// A Qt Designer plugin for the end-to-end check only: once Designer is up, it writes what Designer itself made
// of the installed widget plugins to the file named by TINTORA_PROBE_OUTPUT:
//   widget<TAB>Widget Box group<TAB>class       one line per widget of the Widget Box
//   saved<TAB>form as Designer saves it          the form of TINTORA_PROBE_FORM, loaded and saved by Designer
//   end
// It looks and writes nothing else, and it is never installed.

#include <QAction>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormEditorPluginInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerWidgetBoxInterface>

class DesignerProbe : public QObject, public QDesignerFormEditorPluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.Designer.QDesignerFormEditorPluginInterface")
    Q_INTERFACES(QDesignerFormEditorPluginInterface)

public:
    bool isInitialized() const override { return m_core != nullptr; }
    QAction *action() const override { return nullptr; }
    QDesignerFormEditorInterface *core() const override { return m_core; }

    void initialize(QDesignerFormEditorInterface *core) override
    {
        m_core = core;
        // Designer fills its Widget Box after the plugins are initialised; look once the event loop runs.
        m_look.setInterval(100);
        connect(&m_look, &QTimer::timeout, this, &DesignerProbe::reportWhenReady);
        m_look.start();
    }

private:
    void reportWhenReady()
    {
        QDesignerWidgetBoxInterface *box = m_core->widgetBox();
        if ((!box || box->categoryCount() == 0) && ++m_looks < 100)
            return;
        m_look.stop();

        QFile output(qEnvironmentVariable("TINTORA_PROBE_OUTPUT"));
        if (!output.open(QIODevice::WriteOnly | QIODevice::Text))
            qFatal("DesignerProbe: cannot write %s", qPrintable(output.fileName()));
        for (int category = 0; box && category < box->categoryCount(); ++category) {
            for (int widget = 0; widget < box->widgetCount(category); ++widget)
                output.write(QStringLiteral("widget\t%1\t%2\n")
                                 .arg(box->category(category).name(), box->widget(category, widget).name())
                                 .toUtf8());
        }
        output.write("saved\t" + savedForm().toUtf8().replace('\n', ' ') + '\n');
        output.write("end\n");
    }

    QString savedForm()
    {
        QFile form(qEnvironmentVariable("TINTORA_PROBE_FORM"));
        if (!form.open(QIODevice::ReadOnly | QIODevice::Text))
            return QString();
        QDesignerFormWindowInterface *window = m_core->formWindowManager()->createFormWindow();
        window->setContents(QString::fromUtf8(form.readAll()));
        const QString saved = window->contents();
        delete window;
        return saved;
    }

    QDesignerFormEditorInterface *m_core = nullptr;
    QTimer m_look;
    int m_looks = 0;
};

#include "DesignerProbe.moc"
